// libFuzzer target: the settings file, read from a folder of its own like the program does.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "app/model_catalogue.h"
#include "app/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        std::string dir = "/tmp/melqo-settings-fuzz-" + std::to_string(getpid());
        std::filesystem::create_directories(dir);
        return dir;
    }();
    std::ofstream(folder + "/" + std::string(SettingsFileName), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    static auto shell = [] {
        auto s = std::make_unique<ShellState>();
        InitModelli(s->Models, s->ModelNames);
        return s;
    }();
    DeviceRecord device;
    LeggiSettings(*shell, device, folder);
    if (shell->Language > 1 || device.ModelIndex > DefaultModelIndex) __builtin_trap();
    return 0;
}
