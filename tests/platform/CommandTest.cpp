// The application's error box: an exception that escapes a command ends that command only.

#include "Command.h"
#include "FakeDialogs.h"
#include "FileIO.h"
#include "GifDecl.h"

#include <gtest/gtest.h>

namespace {

TEST(RunCommand, AnEscapingExceptionEndsTheCommandAndShowsItsMessage) {
    FakeDialogs dialogs;
    int stepsDone = 0;
    RunCommand(dialogs, [&] {
        ++stepsDone;
        throw EGifException("Bad code");
        ++stepsDone; // never reached
    });
    RunCommand(dialogs, [] { throw EInOutError(fileio::kDiskFull); });
    RunCommand(dialogs, [] { throw 42; });
    RunCommand(dialogs, [] { throw std::bad_alloc(); });

    EXPECT_EQ(stepsDone, 1);
    EXPECT_EQ(dialogs.Shown, (std::vector<ShownBox>{{"Error", "", "Bad code"},
                                                    {"Error", "", "Disk full"},
                                                    {"Error", "", "Unknown error"},
                                                    {"Error", "", "Out of memory"}}));

    // The program goes on: the next command runs as usual.
    bool ran = false;
    RunCommand(dialogs, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialogs.Shown.size(), 4u);
}

} // namespace
