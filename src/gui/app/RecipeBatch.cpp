#include "RecipeBatch.h"

#include "PictureReader.h"
#include "recipe/RecipeRunner.h"
#include "recipe/ResultFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace ivra {

RecipeBatch::RecipeBatch(std::vector<recipe::StepCall> calls, QStringList inputs, QString outputDir, QString suffix)
    : calls_(std::move(calls)), inputs_(std::move(inputs)), outputDir_(std::move(outputDir)), suffix_(std::move(suffix))
{
}

RecipeBatch::~RecipeBatch()
{
    cancel();
    wait();
}

void RecipeBatch::start()
{
    thread_ = std::thread([this] { run(); });
}

void RecipeBatch::wait()
{
    if (thread_.joinable())
        thread_.join();
}

QStringList RecipeBatch::failures() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return failures_;
}

QString RecipeBatch::outputOf(const QString& input) const
{
    return QDir(outputDir_).filePath(QFileInfo(input).completeBaseName() + QLatin1Char('.') + suffix_);
}

void RecipeBatch::run()
{
    for (const QString& input : inputs_) {
        if (cancelled_)
            break;
        try {
            recipe::StepResult picture{readPicture(input), QFileInfo(input).fileName().toStdString()};
            recipe::writeResultFile(recipe::runSteps(std::move(picture), calls_), outputOf(input));
            ++written_;
        } catch (const std::exception& e) {
            const std::lock_guard<std::mutex> lock(mutex_);
            failures_ << input + QStringLiteral(": ") + QString::fromStdString(e.what());
        }
        ++done_;
    }
    finished_ = true;
}

QString runRecipeBatch(QWidget* parent, RecipeBatch& batch)
{
    QProgressDialog progress(QObject::tr("Applying the recipe..."), QObject::tr("Cancel"), 0, batch.total(), parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    batch.start();
    while (!batch.finished()) {
        progress.setValue(batch.done());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (progress.wasCanceled())
            batch.cancel();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    batch.wait();
    progress.setValue(batch.total());
    QString text = batch.cancelled() && batch.done() < batch.total()
                       ? QObject::tr("Cancelled: %1 of %2 pictures were written.").arg(batch.written()).arg(batch.total())
                       : QObject::tr("%1 of %2 pictures were written.").arg(batch.written()).arg(batch.total());
    const QStringList failures = batch.failures();
    if (!failures.isEmpty())
        text += QLatin1Char('\n') + failures.join(QLatin1Char('\n'));
    return text;
}

} // namespace ivra
