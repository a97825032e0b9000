#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>

#include "platform/app_icon.h"
#include "platform/gui_application.h"
#include "tests/support/temp_dir.h"

namespace snugbox {
namespace {

TEST(AppIcon, EveryShippedSizeBecomesTheApplicationsIcon)
{
    ensureGuiApplication();
    EXPECT_EQ(installApplicationIcon(std::string(SNUGBOX_DATA_DIR) + "/"), 7);
    const QList<QSize> sizes = QGuiApplication::windowIcon().availableSizes();
    for (int edge : {16, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(edge, edge))) << edge;
    }
}

TEST(AppIcon, WithoutIconFilesTheIconStaysAsItWas)
{
    ensureGuiApplication();
    installApplicationIcon(std::string(SNUGBOX_DATA_DIR) + "/");
    testing::TempDir empty;
    EXPECT_EQ(installApplicationIcon(empty.path().string() + "/"), 0);
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
}

} // namespace
} // namespace snugbox
