#include "xml/MiraveloConfig.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace sulvan {
namespace {

MiraveloConfig Read(const std::string& strBody, const std::string& strType = "Sulvan Miravelo") {
    std::istringstream input("<config type=\"" + strType + "\" version=\"3\">" + strBody +
                             "</config>");
    MiraveloConfig config;
    ReadMiraveloConfig(input, config);
    return config;
}

TEST(MiraveloConfig, TheTypeMustBeExactlySulvanMiravelo) {
    for (const char* pType : {"sulvan miravelo", "Sulvan Miravelo ", ""}) {
        try {
            Read("", pType);
            ADD_FAILURE() << pType;
        } catch (const std::logic_error& error) {
            EXPECT_STREQ(error.what(), "Type of configuration file is unknown");
        }
    }
    std::istringstream untyped("<config/>");
    MiraveloConfig config;
    EXPECT_THROW(ReadMiraveloConfig(untyped, config), std::logic_error);
}

TEST(MiraveloConfig, CommonSettingsAndTheirDefaults) {
    struct SCase {
        const char* pBody;
        CommonConfig expected;
    };
    const SCase cases[] = {
        // No COMMON at all: the initial values, salinity 0.
        {"", {115200, 1, 20.0, true, 0.0, 1460.0, true}},
        // COMMON without SALINITY: 1.0.
        {"<COMMON><BAUD_RATE>9600</BAUD_RATE></COMMON>", {9600, 1, 20.0, true, 1.0, 1460.0, true}},
        {"<COMMON><SAMPLING_RATE>25</SAMPLING_RATE><TEMPERATURE measured=\"0\">4.5</TEMPERATURE>"
         "<SALINITY>35.5</SALINITY><SOUND_SPEED measured='false'>1490</SOUND_SPEED></COMMON>",
         {115200, 25, 4.5, false, 35.5, 1490.0, true}},
        // A value followed by more text keeps the value; letters leave the default.
        {"<COMMON><SALINITY>35 ppt</SALINITY><SAMPLING_RATE>x</SAMPLING_RATE></COMMON>",
         {115200, 1, 20.0, true, 35.0, 1460.0, true}},
        {"<COMMON><SALINITY>salty</SALINITY><BAUD_RATE> 25 m/s</BAUD_RATE></COMMON>",
         {25, 1, 20.0, true, 1.0, 1460.0, true}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pBody);
        const CommonConfig common = Read(c.pBody).common;
        EXPECT_EQ(common.nBaudRate, c.expected.nBaudRate);
        EXPECT_EQ(common.nSamplingRate, c.expected.nSamplingRate);
        EXPECT_DOUBLE_EQ(common.dTemperature, c.expected.dTemperature);
        EXPECT_EQ(common.bTemperatureMeasured, c.expected.bTemperatureMeasured);
        EXPECT_DOUBLE_EQ(common.dSalinity, c.expected.dSalinity);
        EXPECT_DOUBLE_EQ(common.dSoundSpeed, c.expected.dSoundSpeed);
        EXPECT_EQ(common.bSoundSpeedMeasured, c.expected.bSoundSpeedMeasured);
    }
}

}  // namespace
}  // namespace sulvan
