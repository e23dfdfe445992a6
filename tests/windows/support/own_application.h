// tests/windows/support/own_application.h
// A fixture for tests of forms: each test gets an application object of its own, initialised, as
// `Application`, and the one before comes back after the test.
#pragma once

#include <gtest/gtest.h>

#include "platform/forms/forms.h"

namespace test_support {

class OwnApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = Application;
        Application = &application_;
        application_.Initialize();
    }
    void TearDown() override { Application = saved_; }
    TApplication application_;

private:
    TApplication* saved_ = nullptr;
};

}  // namespace test_support
