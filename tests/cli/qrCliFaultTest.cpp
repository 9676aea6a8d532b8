// Faults from outside while nimbrel writes: signals, a disk that fills up
// in the middle of a sequence, too little memory. Nothing half-written
// appears under a real name and no temporary file is left.
#include "qrCliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <string>
#include <vector>

namespace {

using namespace CliTest;

std::vector<std::string> hiddenFiles(const ScratchDir& dir)
{
    std::vector<std::string> hidden;
    for (const std::string& name : dir.files())
        if (name[0] == '.')
            hidden.push_back(name);
    return hidden;
}

struct SignalCase {
    const char* name;
    const char* signals;  // sent one after the other once the write has begun
    int status;
};

// A 4-megapixel PNG at deflate level 9 takes seconds to write: the signals
// arrive while the temporary file is being written.
TEST(Signals, DuringAWriteLeaveNoFileAndEndTheProgram)
{
    const SignalCase cases[] = {
        {"Interrupt", "INT", 130},
        {"InterruptTwice", "INT INT", 130},
        {"Terminate", "TERM", 128 + 15},
        {"HangUp", "HUP", 128 + 1},
    };
    std::vector<std::unique_ptr<ScratchDir>> dirs;
    std::vector<std::future<Outcome>> runs;
    for (const SignalCase& c : cases) {
        dirs.push_back(std::make_unique<ScratchDir>());
        const std::string script = std::string("\"$(dirname \"$NIMBREL\")/nimbrel-sample\" in.png 2400 1600 && ") +
            "{ \"$NIMBREL\" render in.png -o out.png --compression 9 & pid=$!; "
            "while [ ! -e .out.part$pid.png ] && kill -0 $pid 2>/dev/null; do sleep 0.05; done; "
            "for s in " + c.signals + "; do kill -$s $pid; sleep 0.1; done; wait $pid; }";
        runs.push_back(std::async(std::launch::async, [script, dir = dirs.back().get()] { return shell(*dir, script); }));
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const Outcome run = runs[i].get();
        EXPECT_EQ(run.status, cases[i].status) << run.err;
        EXPECT_EQ(dirs[i]->files(), std::vector<std::string> {"in.png"}) << run.err;
        EXPECT_NE(run.err.find("nimbrel: "), std::string::npos) << run.err;
    }
}

// A real full disk: a small tmpfs, mounted in a mount namespace of our own
// (skipped where the system allows none). The frames before the one that
// no longer fits are whole; that one is named with the reason; none after.
TEST(FullDisk, SequenceStopsAtTheFrameThatNoLongerFits)
{
    ScratchDir dir;
    const Outcome run = shell(dir,
        "\"$(dirname \"$NIMBREL\")/nimbrel-sample\" in.png 400 300 && mkdir disk && "
        "unshare -rm sh -c 'mount -t tmpfs -o size=600k tmpfs disk || exit 99; "
        "\"$0\" render in.png -o disk/f#.png --frames 1-9 --compression 0; status=$?; ls -a disk >listing; "
        "for f in disk/f*.png; do oiiotool --info \"$f\" >/dev/null || echo \"$f\" >>broken; done; exit $status' "
        "\"$NIMBREL\"");
    if (run.status == 99)
        GTEST_SKIP() << "no tmpfs can be mounted here: " << run.err;
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    const std::vector<std::string> files = dir.files();
    EXPECT_EQ(std::count(files.begin(), files.end(), "broken"), 0) << "a frame on the disk is not a whole image";
    const Outcome listing = shell(dir, "grep -c '^f[0-9].png$' listing; grep -c '^\\.' listing");
    // ".", ".." and no temporary file; a 400x300 frame stored is 480 kB,
    // so the first fits and the second does not.
    EXPECT_EQ(listing.out, "1\n2\n") << listing.out;
    EXPECT_NE(run.err.find("f2.png"), std::string::npos) << run.err;
}

// Under shrinking address-space limits a render fails somewhere (loading,
// reading, rendering, writing); wherever it does, it says so with the
// program's name and leaves no file.
TEST(OutOfMemory, FailsCleanlyWhereverMemoryRunsOut)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizers reserve more address space than any limit tried";
#endif
    std::vector<std::unique_ptr<ScratchDir>> dirs;
    std::vector<std::future<Outcome>> runs;
    const std::vector<int> megabytes = {450, 550, 600, 650, 700, 750, 800, 900, 1200};
    for (int limit : megabytes) {
        dirs.push_back(std::make_unique<ScratchDir>());
        const std::string script = "\"$(dirname \"$NIMBREL\")/nimbrel-sample\" in.png 1600 1200 && prlimit --as=" +
            std::to_string(limit) + "000000 \"$NIMBREL\" render in.png -o out.png --depth 32";
        runs.push_back(std::async(std::launch::async, [script, dir = dirs.back().get()] { return shell(*dir, script); }));
    }
    int failed = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(std::to_string(megabytes[i]) + " MB");
        const Outcome run = runs[i].get();
        // Before main: the dynamic loader (127) or a library's own start-up
        // code, which aborts on bad_alloc (134); no code of ours has run.
        const bool beforeMain = run.status == 127 || (run.status == 134 && run.err.find("nimbrel:") == std::string::npos);
        EXPECT_TRUE(run.status == 0 || run.status == 1 || beforeMain) << run.err;
        EXPECT_TRUE(hiddenFiles(*dirs[i]).empty());
        if (run.status == 0) {
            EXPECT_GT(load(*dirs[i] / "out.png").spec().width, 0);
            continue;
        }
        ++failed;
        EXPECT_EQ(dirs[i]->files(), std::vector<std::string> {"in.png"});
        if (!beforeMain) {
            EXPECT_EQ(run.err.rfind("nimbrel: ", 0), 0u) << run.err;
        }
    }
    EXPECT_GT(failed, 0) << "no limit was tight enough to fail";
}

}  // namespace
