#pragma once
// What the file-reader targets share: the first byte of an input says how the rest is read (the layout
// of the project set, the counted record length, the device model), the rest is the file's bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "app/model_catalogue.h"
#include "project/project_files.h"

struct FuzzInput {
    uint8_t selector = 0;
    std::string_view text;

    // Bit 0: tagged or counted layout; the other bits a counted record length (0..127 items).
    SetLayout layout() const { return {(selector & 1) != 0, selector >> 1}; }
    // One of the catalogue's models, so the limits the readers take from it vary too.
    const ModelRecord& model() const {
        static const auto catalogue = [] {
            auto rows = std::make_unique<ModelCatalogue>();
            InitModelli(*rows, ModelNameList{});
            return rows;
        }();
        return (*catalogue)[selector % FilledModelRows];
    }
};

inline std::optional<FuzzInput> fuzzInput(const uint8_t* data, size_t size) {
    if (size < 1) return std::nullopt;
    return FuzzInput{data[0], std::string_view(reinterpret_cast<const char*>(data + 1), size - 1)};
}
