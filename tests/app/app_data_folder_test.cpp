#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <QCoreApplication>

#include "platform/app_data_folder.h"

TEST(AppDataFolder, IsAbsoluteAndCreatedWhenMissing) {
    auto base = std::filesystem::temp_directory_path() / "melqo-appdata-test";
    std::filesystem::remove_all(base);
    ::setenv("XDG_DATA_HOME", base.c_str(), 1);
    QCoreApplication::setOrganizationName("");
    QCoreApplication::setApplicationName("melqo");

    std::string folder = GetLocalAppDataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::path(folder).is_absolute());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(folder.rfind(base.string(), 0), 0u) << folder;
    std::filesystem::remove_all(base);
}
