// Gauss, Salt-and-Pepper, Kuwahara-Nagao and SNN through their dialogs: their
// widgets, result names, nesting and run counters, and cancelling.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "dialogs/DIGauss.h"
#include "dialogs/DISaltAndPepper.h"
#include "dialogs/QKuwaNagaDialog.h"
#include "dialogs/QSNNDialog.h"

#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

TEST(GaussDialog, WidgetsAndEnabling)
{
    IvraApp app;
    DataEntry* gray = addTopLevel(app, grayImage(1, 1, 0), "gray");
    DIGauss* d = findDialog<DIGauss>(app);
    d->fillList();
    EXPECT_EQ(d->GroupBoxView->title(), "Parameter");
    EXPECT_EQ(d->TextLabelMue->text(), QString::fromUtf8("mean (µ)"));
    EXPECT_EQ(d->TextLabelSigma->text(), "variance (sigma^2)");
    expectRange(d->SpinBoxMue, -255, 255, 0);
    expectRange(d->SpinBoxSigma, 0, 255, 10);

    EXPECT_FALSE(d->GroupBoxView->isEnabled());
    d->selectEntry(gray);
    EXPECT_TRUE(d->GroupBoxView->isEnabled());
}

TEST(GaussDialog, NamesWithoutCounterAndNests)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, grayImage(2, 1, 240), "g.pgm");
    DIGauss* d = findDialog<DIGauss>(app);
    for (int run = 0; run < 2; ++run)
        runDialog(d, source, [d] {
            d->SpinBoxMue->setValue(20);
            d->SpinBoxSigma->setValue(0);
        });
    EXPECT_EQ(childNames(source),
              QStringList({"Gauss Noise [mean=20, variance=0]", "Gauss Noise [mean=20, variance=0]"}));
    const auto* noisy = dynamic_cast<const ImageGray*>(source->children()[0]->data());
    ASSERT_NE(noisy, nullptr);
    EXPECT_EQ(noisy->data()[0], 255); // 240 + 20, clamped
    EXPECT_FALSE(d->isVisible());

    // A result is offered again and gets its own children.
    DataEntry* first = source->children()[0].get();
    runDialog(d, first, [d] { d->SpinBoxMue->setValue(-255); });
    ASSERT_EQ(first->children().size(), 1u);
    EXPECT_EQ(static_cast<const ImageGray*>(first->children()[0]->data())->data()[1], 0);
}

TEST(SaltAndPepperDialog, WidgetsAndEnabling)
{
    IvraApp app;
    DataEntry* rgb = addTopLevel(app, rgbImage(1, 1, 0, 0, 0), "rgb");
    DISaltAndPepper* d = findDialog<DISaltAndPepper>(app);
    d->fillList();
    EXPECT_EQ(d->ButtonGroupMode->title(), "Mode of Noise");
    EXPECT_EQ(d->RadioButtonSalt->text(), "Salt");
    EXPECT_EQ(d->RadioButtonPepper->text(), "Pepper");
    EXPECT_EQ(d->RadioButtonSaltAndPepper->text(), "Salt and Pepper");
    EXPECT_TRUE(d->RadioButtonSaltAndPepper->isChecked());
    EXPECT_EQ(d->GroupBoxView->title(), "Noise Level");
    EXPECT_EQ(d->SliderNoiseLevel->orientation(), Qt::Horizontal);
    expectRange(d->SliderNoiseLevel, 0, 50, 10);
    EXPECT_EQ(d->SliderNoiseLevel->pageStep(), 10);
    EXPECT_EQ(d->TextLabelMin->text(), "0%");
    EXPECT_EQ(d->TextLabelMax->text(), "50%");

    EXPECT_FALSE(d->ButtonGroupMode->isEnabled());
    EXPECT_FALSE(d->GroupBoxView->isEnabled());
    d->selectEntry(rgb);
    EXPECT_TRUE(d->ButtonGroupMode->isEnabled());
    EXPECT_TRUE(d->GroupBoxView->isEnabled());
}

TEST(SaltAndPepperDialog, CountsRunsWhateverTheMode)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, grayImage(20, 20, 128), "g.pgm");
    DISaltAndPepper* d = findDialog<DISaltAndPepper>(app);
    const int first = DISaltAndPepper::runCounter;
    runDialog(d, source);
    runDialog(d, source, [d] {
        d->RadioButtonPepper->setChecked(true);
        d->SliderNoiseLevel->setValue(50);
    });
    runDialog(d, source, [d] { d->RadioButtonSalt->setChecked(true); });
    EXPECT_EQ(childNames(source), QStringList({QString("(%1) Salt and Pepper [Percent=10%]").arg(first),
                                               QString("(%1) Pepper [Percent=50%]").arg(first + 1),
                                               QString("(%1) Salt [Percent=50%]").arg(first + 2)}));
    EXPECT_EQ(DISaltAndPepper::runCounter, first + 3);
    const auto* pepper = static_cast<const ImageGray*>(source->children()[1]->data());
    int black = 0;
    for (int i = 0; i < 400; ++i) {
        ASSERT_TRUE(pepper->data()[i] == 128 || pepper->data()[i] == 0);
        black += pepper->data()[i] == 0;
    }
    EXPECT_GT(black, 100);
}

TEST(KuwaharaNagaoDialog, Widgets)
{
    IvraApp app;
    QKuwaNagaDialog* d = findDialog<QKuwaNagaDialog>(app);
    d->fillList();
    EXPECT_EQ(d->iterationLabel->text(), "Iteration");
    expectRange(d->iterationSpin, 1, 65536, 1);
    EXPECT_EQ(d->colorspaceGroup->title(), "Colorspace");
    EXPECT_EQ(d->rgbButton->text(), "RGB");
    EXPECT_EQ(d->hsvButton->text(), "HSV");
    EXPECT_TRUE(d->rgbButton->isChecked());
}

TEST(KuwaharaNagaoDialog, RunsCountAndFilterInTheChosenSpace)
{
    IvraApp app;
    auto image = rgbImage(5, 4, 0, 0, 0);
    for (std::size_t i = 0; i < image->pixelCount(); ++i) {
        image->red()[i] = static_cast<int>(i * 37 % 256);
        image->green()[i] = static_cast<int>(i * 91 % 256);
        image->blue()[i] = static_cast<int>(i * 13 % 256);
    }
    const auto expectedRgb = OPKuwaharaNagao().execute(*image, 3, OPKuwaharaNagao::Space::RGB);
    const auto expectedHsv = OPKuwaharaNagao().execute(*image, 1, OPKuwaharaNagao::Space::HSV);
    DataEntry* source = addTopLevel(app, std::move(image), "photo.ppm");
    QKuwaNagaDialog* d = findDialog<QKuwaNagaDialog>(app);
    const int first = QKuwaNagaDialog::runCounter;
    runDialog(d, source, [d] { d->iterationSpin->setValue(3); });
    runDialog(d, source, [d] {
        d->iterationSpin->setValue(1);
        d->hsvButton->setChecked(true);
    });
    EXPECT_EQ(childNames(source), QStringList({QString("(%1) Kuwahara-Nagao [Iterations=3]").arg(first),
                                               QString("(%1) Kuwahara-Nagao [Iterations=1]").arg(first + 1)}));
    const auto* rgbResult = static_cast<const ImageRGB*>(source->children()[0]->data());
    const auto* hsvResult = static_cast<const ImageRGB*>(source->children()[1]->data());
    for (std::size_t i = 0; i < 20; ++i) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(rgbResult->plane(c)[i], expectedRgb->plane(c)[i]);
            EXPECT_EQ(hsvResult->plane(c)[i], expectedHsv->plane(c)[i]);
        }
    }
    EXPECT_EQ(QKuwaNagaDialog::runCounter, first + 2);
}

TEST(SNNDialog, WidgetsAndItsOwnCounter)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, rgbImage(3, 3, 9, 8, 7), "rgb");
    QSNNDialog* d = findDialog<QSNNDialog>(app);
    d->fillList();
    EXPECT_EQ(d->parametersGroup->title(), "Parameters");
    EXPECT_EQ(d->iterationLabel->text(), "Iteration:");
    expectRange(d->iterationSpin, 1, 65536, 1);

    const int first = QSNNDialog::runCounter;
    const int kuwahara = QKuwaNagaDialog::runCounter;
    runDialog(d, source, [d] { d->iterationSpin->setValue(2); });
    DataEntry* result = source->children()[0].get();
    runDialog(d, result); // the spin box keeps the last run's value
    EXPECT_EQ(childNames(source), QStringList({QString("(%1) SNN [Iterations=2]").arg(first)}));
    EXPECT_EQ(childNames(result), QStringList({QString("(%1) SNN [Iterations=2]").arg(first + 1)}));
    EXPECT_EQ(QKuwaNagaDialog::runCounter, kuwahara);
    const auto* filtered = static_cast<const ImageRGB*>(result->data());
    EXPECT_EQ(filtered->pixel(1, 1), (ImageColor::Triple{9, 8, 7}));
}

TEST(SNNDialog, CancelledRunAddsNothingAndKeepsTheCounter)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, rgbImage(200, 200, 1, 2, 3), "big");
    QSNNDialog* d = findDialog<QSNNDialog>(app);
    const int before = QSNNDialog::runCounter;
    ProgressCanceller canceller;
    runDialog(d, source, [d] { d->iterationSpin->setValue(65536); });
    EXPECT_TRUE(canceller.sawDialog);
    EXPECT_TRUE(source->children().empty());
    EXPECT_EQ(QSNNDialog::runCounter, before);
}
