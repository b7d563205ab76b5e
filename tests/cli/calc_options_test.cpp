// kinevo-calc's own options answer without reading a case; its exit status
// says whether the input was read and the result written.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

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

namespace {
// Runs kinevo-calc through the shell with `arguments` (redirections
// included); its exit status, with what it wrote to standard error in `err`.
int RunInShell(const std::string& arguments, std::string& err) {
    const std::string errFile = ::testing::TempDir() + "kinevo-calc-stderr";
    const int status = std::system(("'" KINEVO_CALC_PATH "' " + arguments + " 2>'" + errFile + "'").c_str());
    std::ifstream in(errFile);
    err.assign(std::istreambuf_iterator<char>(in), {});
    std::remove(errFile.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST(KinevoCalcOptions, ExitZeroOnlyWithTheResultWrittenAndInputRead) {
    const std::string example = "'" KINEVO_EXAMPLES_DIR "/gentamicin.json'";
    std::string err;
    EXPECT_EQ(RunInShell(example + " >/dev/null", err), 0);
    EXPECT_EQ(err, "");
    for (const std::string output : {" >/dev/full", " >&-"}) {
        EXPECT_EQ(RunInShell(example + output, err), 2) << output;
        EXPECT_EQ(err, "kinevo-calc: cannot write to standard output\n") << output;
        EXPECT_EQ(RunInShell("--version" + output, err), 2) << output;
    }
    // Standard input from a folder or closed is unreadable, as a file is.
    const std::string folder = "'" KINEVO_EXAMPLES_DIR "'";
    EXPECT_EQ(RunInShell(folder + " >/dev/null", err), 2);
    EXPECT_EQ(err, "\"" KINEVO_EXAMPLES_DIR "\": cannot be read\n");
    for (const std::string& input : {"<" + folder, std::string("<&-"), "- <" + folder}) {
        EXPECT_EQ(RunInShell(input + " >/dev/null", err), 2) << input;
        EXPECT_EQ(err, "\"-\": cannot be read\n") << input;
    }
}
