#include "SystemTexts.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

// The standard buttons of a message box read as on a Chinese desktop.
TEST(SystemTexts, StandardButtonsAreChinese) {
    int argc = 1;
    char name[] = "platform_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    InstallSystemTexts(app);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
}
