#include "Profile.h"

#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(Profile, ValuesPersistInTheApplicationsSettings)
{
    QStandardPaths::setTestModeEnabled(true); // keep the user's own settings out of it
    ProfileWriteString("Recent File List", "File1", "/home/u/line.kvpr");
    ProfileWriteInt("Settings", "ComPort", 3);
    EXPECT_EQ(ProfileReadString("Recent File List", "File1"), "/home/u/line.kvpr");
    EXPECT_EQ(ProfileReadInt("Settings", "ComPort", -1), 3);
    EXPECT_EQ(ProfileReadInt("Settings", "Missing", -1), -1);
    EXPECT_EQ(ProfileReadString("Settings", "Missing", "d"), "d");

    QSettings direct("Halvern-Koravel", "designer");
    EXPECT_EQ(direct.value("Settings/ComPort").toInt(), 3);
    direct.clear();
}
