// A fixture: a fresh game window, with the sample puzzle as the one Easy puzzle beside the
// test program and no other puzzle file; no puzzle started yet.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/game_harness.h"

class SampleGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemovePuzzleFiles();
        WritePuzzleFile(1, {SampleRecord()});
        NewGameWindow();
    }
    void TearDown() override { RemovePuzzleFiles(); }
};
