// The batch tool's progress line on a terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "tools/BatchProgress.h"

namespace {

using std::chrono::milliseconds;

TEST(BatchProgress, LineSaysTheRecordAndTheWholePercentDone) {
    EXPECT_EQ(ProgressLine("quake.txt", 0.0), "analysing quake.txt: 0 %");
    EXPECT_EQ(ProgressLine("quake.txt", 0.429), "analysing quake.txt: 42 %");
    EXPECT_EQ(ProgressLine("quake.txt", 1.0), "analysing quake.txt: 100 %");
}

TEST(BatchProgress, ShortRunPrintsNothing) {
    std::ostringstream out;
    AnalysisRun run(10);
    run.AddWork(10);
    run.MarkFinished();
    TerminalProgress("quake.txt", out, milliseconds(50), milliseconds(5))(run);
    EXPECT_EQ(out.str(), "");
}

// A run outlasting the quiet time rewrites its line and ends it once finished.
TEST(BatchProgress, LongRunRewritesOneLineAndEndsIt) {
    std::ostringstream out;
    AnalysisRun run(100);
    std::thread worker([&run] {
        std::this_thread::sleep_for(milliseconds(60));
        run.AddWork(50);
        std::this_thread::sleep_for(milliseconds(30));
        run.AddWork(50);
        run.MarkFinished();
    });
    TerminalProgress("quake.txt", out, milliseconds(20), milliseconds(5))(run);
    worker.join();
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("\ranalysing quake.txt: 0 %", 0), 0u) << text;
    EXPECT_NE(text.find("\ranalysing quake.txt: 50 %"), std::string::npos) << text;
    const std::string end = "\ranalysing quake.txt: 100 %\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
    EXPECT_EQ(text.find('\n'), text.size() - 1) << "one line, rewritten in place";
}

}  // namespace
