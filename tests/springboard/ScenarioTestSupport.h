#pragma once

#include "device/SampleDevice.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/Scenario.h"
#include "platform/springboard/ScenarioRunner.h"
#include "platform/springboard/SpringBoardHost.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "tests/support/TemporaryDevice.h"

#include <gtest/gtest.h>

#include <string>

// The scenario files of tests/scenarios, which double as documentation.
inline std::filesystem::path scenarioFolder() { return TINTWELL_SCENARIO_DIR; }

// A sample device (apps with icons) in a temporary root, the system's classes registered,
// the light appearance, and a home screen made fresh for each test.
class SampleDeviceTest : public TemporaryDevice {
protected:
    void SetUp() override
    {
        TemporaryDevice::SetUp();
        ASSERT_TRUE(SampleDevice::write(m_root));
        SpringBoardHost::registerSystemClasses();
        UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight);
        m_home = std::make_unique<SBHomeScreen>();
        m_runner = std::make_unique<ScenarioRunner>(*m_home);
    }

    void TearDown() override
    {
        m_runner.reset();
        m_home.reset();
        UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight);
        TemporaryDevice::TearDown();
    }

    // Parses and runs; fails the test when the text is no scenario.
    void run(std::string_view text, const std::filesystem::path& folder = scenarioFolder())
    {
        std::string error;
        auto scenario = Scenario::parseText(text, folder, error);
        ASSERT_TRUE(scenario) << error;
        m_runner->run(*scenario);
    }

    std::unique_ptr<SBHomeScreen> m_home;
    std::unique_ptr<ScenarioRunner> m_runner;
};
