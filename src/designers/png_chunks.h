#pragma once
// A look at a PNG file's chunks before it is decoded: a decoder takes each chunk's declared length at its
// word and reserves that much memory before it finds the file shorter.
#include <string_view>

// False when bytes start as a PNG and a chunk before the closing one declares more bytes than the file
// holds after its length field, or the file ends inside a chunk; true for any other file (the decoder
// judges the rest).
bool PngChunksFitFile(std::string_view bytes);
