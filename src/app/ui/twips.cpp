#include <cmath>

#include "app/ui/ui_texts.h"

int twipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}
