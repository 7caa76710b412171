#pragma once
// Cases in tests/common run twice: natively over the fake shared areas and
// under Wine over real named file mappings, so the fake is held to the
// system's rules. The test plays the writer; each build defines
// MakeTestSharedAreas.

#include "platform/shared_area_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

class TestSharedAreas {
public:
    virtual ~TestSharedAreas() = default;

    // The reader under test.
    virtual platform::SharedAreaReader& Reader() = 0;
    // Creates the named 4096-byte area and holds it open, or opens the one
    // that still exists; its bytes, writable.
    virtual uint8_t* Create(const std::string& name) = 0;
    // Closes the writer's view and handle.
    virtual void Release(const std::string& name) = 0;
};

std::unique_ptr<TestSharedAreas> MakeTestSharedAreas();

class SharedAreaFixture : public testing::Test {
protected:
    void SetUp() override { areas_ = MakeTestSharedAreas(); }

    TestSharedAreas& areas() { return *areas_; }

private:
    std::unique_ptr<TestSharedAreas> areas_;
};
