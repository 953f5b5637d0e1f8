#pragma once
// The input types of a module's channels held in module memory: the eight-channel analog variant keeps
// one code byte per channel at memory address 11 of its sub-addresses 247 (channels 0-5) and 246
// (channels 6-7); the display module keeps its one input type in register 34.
#include <cstdint>

#include "devconfig/type_lists.h"

struct AppContext;

constexpr uint8_t LowChannels = 247;  // sub-address of channels 0-5
constexpr uint8_t HighChannels = 246; // sub-address of channels 6-7
constexpr int32_t ChannelTypeAddress = 11;
constexpr int16_t SubAddressRegister = 17; // opens the sub-addresses while it holds 0xF6F7
constexpr int16_t SubAddressOpen = -2313;  // 0xF6F7: high byte 246, low byte 247
constexpr int16_t InputTypeRegister = 34;
constexpr int16_t ControlRegister = 10; // bit 15 set while the input type changes

// Reads both code tables into the channels' lists. A failed transfer ends it: the channels not yet
// handled keep their selections.
bool LeggiCanali(AppContext& app, TypeRows& rows);
// Writes both code tables from the selections (every channel must have one). Channels 6-7 are not
// written when the first transfer fails.
bool ScriviCanali(AppContext& app, const TypeRows& rows);
// The selected code of the channel to register 34 of the node, then half a second for the module.
void ScriviTipo(AppContext& app, uint8_t node, const TypeRows& rows, int channel);

// The read and write commands, each transfer bracketed by register 17 and the bracket closed again
// whatever happened inside.
void ReadChannelTypes(AppContext& app, uint8_t node, TypeRows& rows);
// Refused whole, with a message and before any traffic, when a channel has no type selected.
bool WriteChannelTypes(AppContext& app, uint8_t node, const TypeRows& rows);
// The display module: register 10 is read first, and a failed read writes nothing; bit 15 of it is set
// around the type write and the old value put back.
bool WriteDisplayType(AppContext& app, uint8_t node, const TypeRows& rows);
