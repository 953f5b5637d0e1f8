#include "fbeditor/arg_codec.h"

#include <bit>
#include <cfenv>
#include <cmath>
#include <limits>

#include "fbeditor/value_types.h"

namespace {

using Slot = std::array<uint8_t, 4>;

bool fits32(double r) {
    return r >= -2147483648.0 && r <= 4294967295.0;
}

// b0..b3 least significant first of a 32-bit integer value; negatives as two's complement.
std::array<uint8_t, 4> longBytes(double r) {
    auto u = static_cast<uint32_t>(r < 0 ? static_cast<int64_t>(r) + 4294967296LL : static_cast<int64_t>(r));
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}

// The slot bytes for a value of a kind in either byte order; false when the kind leaves the slot alone
// or the value does not fit.
bool encode(double& value, uint8_t kind, bool swap, Slot& out) {
    if (!std::isfinite(value)) return false;
    switch (kind) {
    case KindUInt:
    case KindInt: {
        std::array<uint8_t, 2> b{};
        if (!intToBytes(value, b)) return false;
        if (value < 0) value += 65536;
        out = swap ? Slot{b[1], b[0], 0, 0} : Slot{b[0], b[1], 0, 0};
        return true;
    }
    case KindULong:
    case KindLong:
    case KindKLong: {
        double r = nearestInteger(value);
        if (!fits32(r)) return false;
        if (kind == KindLong && value < 0) value += 4294967296.0;
        auto b = longBytes(r);
        out = swap ? Slot{b[3], b[2], b[1], b[0]} : Slot{b[2], b[3], b[0], b[1]};
        return true;
    }
    case KindKFlt: {
        if (std::fabs(value) > std::numeric_limits<float>::max()) return false;
        auto u = std::bit_cast<uint32_t>(static_cast<float>(value));
        out = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
               static_cast<uint8_t>(u >> 24)};
        return true;
    }
    default:
        return false;
    }
}

bool store(double& value, uint8_t kind, CommandRecord& rung, int slot, bool swap) {
    if (slot < 0 || slot >= ArgSlotCount) return false;
    bool written = kind <= KindKLong && kind != KindFloat;
    if (!written) return true; // Float and the other kinds leave the slot as it was
    Slot s{};
    if (!encode(value, kind, swap, s)) return false;
    rung.ArgBytes[static_cast<size_t>(slot)] = s;
    return true;
}

} // namespace

double nearestInteger(double v) {
    // The default rounding mode rounds halves to the even neighbour.
    return std::nearbyint(v);
}

bool intToBytes(double v, std::array<uint8_t, 2>& out) {
    if (!std::isfinite(v)) return false;
    double r = nearestInteger(v);
    if (r < -32768 || r > 65535) return false;
    auto u = static_cast<uint16_t>(r < 0 ? r + 65536 : r);
    out = {static_cast<uint8_t>(u & 0xFF), static_cast<uint8_t>(u >> 8)};
    return true;
}

bool Trasf(double& value, uint8_t kind, CommandRecord& rung, int slot) {
    return store(value, kind, rung, slot, false);
}

bool TrasfSwap(double& value, uint8_t kind, CommandRecord& rung, int slot) {
    return store(value, kind, rung, slot, true);
}
