#include "devconfig/model_entries.h"

int ModelEntryOf(const ModelNameList& names, const std::string& model) {
    if (model.empty()) return entry::None;
    for (size_t k = 0; k < names.size(); ++k)
        if (names[k] == model) return static_cast<int>(k);
    return model == EightChannelVariantName ? entry::EightChannelVariant : entry::None;
}
