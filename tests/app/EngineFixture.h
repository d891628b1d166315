#pragma once
// A headless engine in a temporary program folder.
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessBackend.h"
#include "../TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldProgramDir_ = platform::files::programDir();
        platform::files::setProgramDir(dir.str());
        runLog().clear();
        displayProcess() = DisplayProcessState{};
        dx = std::make_unique<CDirectX>(backend.services);
    }
    void TearDown() override
    {
        dx.reset();
        platform::files::setProgramDir(oldProgramDir_);
        runLog().clear();
    }

    testsupport::TempDir dir;
    platform::HeadlessBackend backend;
    std::unique_ptr<CDirectX> dx;

private:
    std::string oldProgramDir_;
};

// The engine as started in its game folder: an empty but valid "system.pkd" there, and that
// folder as the current one, since start-up opens the archive from the current folder.
class GameFolderTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        testsupport::writeEmptyArchive(dir.file("system.pkd"));
        inFolder_ = std::make_unique<testsupport::CurrentDir>(dir.path());
    }
    void TearDown() override
    {
        inFolder_.reset();
        EngineTest::TearDown();
    }

private:
    std::unique_ptr<testsupport::CurrentDir> inFolder_;
};
