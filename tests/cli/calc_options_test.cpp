// kinevo-calc's own options answer without reading a case.
#include <gtest/gtest.h>

#include "calc_runner.h"

TEST(KinevoCalcOptions, VersionAndHelpArePrintedWithoutInput) {
    const CalcRun version = RunCalcOnFile("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("kinevo-calc ") + KINEVO_PROJECT_VERSION + "\n");
    EXPECT_EQ(version.err, "");

    const CalcRun help = RunCalcOnFile("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: kinevo-calc [FILE]\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(RunCalcOnFile("-h").out, help.out);
}
