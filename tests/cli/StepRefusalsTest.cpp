// What every step refuses, as its dialog would: input types the dialog does not
// list, parameters outside the dialog's ranges, unknown keys and values. Each
// refusal is exit status 2, one line on standard error and no output file.
#include "CliTestSupport.h"


using namespace ivra;

namespace {

struct Refusal {
    const char* input; // "rgb" or "gray"
    QStringList steps;
    const char* mention;
};

const Refusal refusals[] = {
    {"gray", {"histogram:bins=8"}, "bins"}, // the gray dialog offers 16..256 only
    {"rgb", {"histogram"}, "does not accept"},
    {"rgb", {"color-histogram:kind=static,layout=6x2+4"}, "layout"},
    {"rgb", {"color-histogram:kind=static,cube=3"}, "cube"},
    {"rgb", {"color-histogram:kind=dynamic"}, "kind"},
    {"rgb", {"hsv", "color-histogram:cube=2"}, "cube"},
    {"gray", {"color-histogram"}, "does not accept"},
    {"rgb", {"color-histogram:result=4"}, "gives 3 results"},
    {"rgb", {"color-histogram:result=0"}, "result"},
    {"rgb", {"csc:result=2"}, "gives 1 result"},

    {"rgb", {"gauss:mean=256"}, "mean"},
    {"rgb", {"gauss:variance=-1"}, "variance"},
    {"rgb", {"hsv", "gauss"}, "does not accept"},
    {"rgb", {"salt-pepper:percent=51"}, "percent"},
    {"rgb", {"salt-pepper:mode=sugar"}, "mode"},
    {"gray", {"kuwahara"}, "does not accept"},
    {"rgb", {"kuwahara:iterations=0"}, "iterations"},
    {"rgb", {"kuwahara:space=lab"}, "space"},
    {"gray", {"snn"}, "does not accept"},
    {"rgb", {"snn:iterations=65537"}, "iterations"},

    {"gray", {"csc"}, "does not accept"},
    {"rgb", {"csc:threshold=256"}, "threshold"},
    {"rgb", {"csc:threshold=-1"}, "threshold"},
    {"rgb", {"csc:space=lab"}, "space"},
    {"rgb", {"csc:mode=rgb"}, "mode"},
    {"rgb", {"hsv", "csc"}, "does not accept"},

    {"gray", {"rhs"}, "does not accept"},
    {"rgb", {"rhs:gt=65537"}, "gt"},
    {"rgb", {"rhs:min-peak=-1"}, "min-peak"},
    {"rgb", {"rhs:min-region=x"}, "min-region"},
    {"rgb", {"hsv", "rhs"}, "does not accept"},

    {"rgb", {"smg:split=256"}, "split"},
    {"rgb", {"smg:merge=-1"}, "merge"},
    {"rgb", {"smg:group=1.5"}, "group"},
    {"gray", {"smg"}, "does not accept"},
    {"rgb", {"hsv", "smg"}, "does not accept"},

    {"rgb", {"region-growing:span=256"}, "span"},
    {"rgb", {"region-growing:span=-1"}, "span"},
    {"rgb", {"hsv", "region-growing"}, "region-growing"},
};

class StepRefusals : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        writeRgb("rgb.ppm", 4, 3, [](int x, int y) { return qRgb(20 * x + 60 * y, 200 - 30 * x, 17 * (x + y)); });
        writeGray("gray.pgm", 3, 2, [](int x, int y) { return 40 * x + 100 * y; });
    }

    QString input(const char* kind) const { return path(kind == QStringLiteral("gray") ? "gray.pgm" : "rgb.ppm"); }
};

} // namespace

TEST_F(StepRefusals, WhatTheDialogsWouldRefuse)
{
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.steps.join(' ').toStdString());
        expectRefused(QStringList{input(r.input)} + r.steps + QStringList{"-o", path("out.npy")}, r.mention);
        EXPECT_FALSE(QFile::exists(path("out.npy")));
    }
}

TEST_F(StepRefusals, TheEndsOfTheRangesAreAccepted)
{
    for (const QStringList& steps : {QStringList{"csc:space=hsv,threshold=255"},
                                     QStringList{"rhs:gt=65536,min-peak=65536,min-region=65536"},
                                     QStringList{"smg:split=0,merge=255,group=0"},
                                     QStringList{"region-growing:span=255"}, QStringList{"gauss:mean=-255,variance=255"},
                                     QStringList{"salt-pepper:percent=50"}, QStringList{"kuwahara:iterations=1"},
                                     QStringList{"color-histogram:result=3"}}) {
        const clitest::CliRun r = run(QStringList{input("rgb")} + steps + QStringList{"-o", path("out.npy")});
        EXPECT_EQ(r.status, 0) << steps.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    EXPECT_EQ(run({input("gray"), "histogram:bins=16", "-o", path("out.npy")}).status, 0);
}
