#pragma once
// The configuration window names its models by ModelNames entries, so every brand's build lays out the
// same groups whatever texts the entries carry there.
#include <array>
#include <string>

#include "core/model_record.h"

namespace entry {
constexpr int JXV8410 = 0, JXV8410IO = 1, JXV8410DL = 2, JXV8410DLIO = 3, JXV8410USB = 4, JXV8250 = 5,
              JXV8250DL = 6, JXV8250USB = 7, JXV8480 = 8, JXV7593 = 9, JXV7734 = 10, JXV7924 = 11,
              JXV7243 = 12, JXV7650 = 13, JXV7711 = 14, JXV7711P = 15, JXV7174 = 16, JXV7541 = 17,
              JXV7020 = 18, JXV7287 = 19, JXV7038 = 20, JXV7632 = 21, JXV7106 = 22, JXV7556 = 23,
              JXV7950MBTCP = 24, JXV2569 = 25, JXV9568 = 26, KELMO7593 = 27, JXV9921 = 28, JXV8480AI = 29,
              JXV9704 = 30, JXV9422 = 31, JXV9322 = 32, JXV9628 = 33, JXV9436I = 34, JXV9436V = 35,
              JXV9025 = 36, JXV9169 = 37, JXV9663 = 38, JXV9930 = 39, JXV9787 = 40;
// A model text that is no entry (an empty one included).
constexpr int None = -1;
// The eight-channel variant of the analog module: typed by the user, it is in no list.
constexpr int EightChannelVariant = -2;
} // namespace entry

// The variant's model text, as the module family calls it.
constexpr const char* EightChannelVariantName = "JXV7593-4R4T";

// The model list of builds without brand 3, in this order.
constexpr std::array<int, 33> ModelListEntries{4,  5,  7,  8,  29, 9,  10, 11, 12, 13, 14,
                                               15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26,
                                               27, 28, 30, 31, 32, 33, 34, 35, 36, 37, 39};

// The entry whose text equals the model text exactly; entry::EightChannelVariant for the variant's text.
int ModelEntryOf(const ModelNameList& names, const std::string& model);
