#pragma once
// Numbers into and out of Modbus frames and memory images, hex and binary texts, and the check values
// of RTU (CRC-16), ASCII (LRC) and of the address datagram (CRC-8).
// Multi-byte values are most significant byte first unless a procedure says otherwise.
// Conversions that can fail on input outside their contract return std::nullopt, so the caller's
// failure path runs instead of a wrong value going out.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class UserDialogs;
struct CommState;

// Element i - 1 of bytes = code of character i; stops at the end of either.
void StrToBytes(std::string_view text, std::span<uint8_t> bytes);

std::string ByteToHex(uint8_t value);
// High byte then low byte of IntToBytes(value), as hex: 4660 gives "1234".
std::string IntToHex4(int32_t value);
// Low byte's character then high byte's; the high byte's alone when the low byte is 0.
std::string IntToAscii2(int32_t value);
// 8 binary digits of the high byte, a blank when asked, 8 of the low byte.
std::string IntToBin16(int32_t value, bool blank);
// Every "," becomes "."; the argument is changed as well.
std::string VirgolaInPunto(std::string& text);

// "7" -> 7, "7F" -> 127, "7F00" -> 127 (characters after the second are ignored).
std::optional<uint8_t> HexToByte(std::string_view text);
// Strict: both of the first two characters must be 0-9 or A-F.
std::optional<uint8_t> HexPairToByte(std::string_view text);
// Four hex digits as a number; 0 when any part fails.
int32_t Hex4ToVal(std::string_view text);

int32_t BytesToInt(uint8_t high, uint8_t low, bool isSigned);
// Element 0 low byte, 1 high byte, 2 zero. Expects -32768..65535; a byte that cannot be formed stays 0.
std::array<uint8_t, 3> IntToBytes(int32_t value);
int64_t BytesToLong(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, bool isSigned);
// High word first, each word low byte first: 0x01020304 gives 02 01 04 03.
// Fails on a negative value without the signed flag and on values that need more than 32 bits.
std::optional<std::array<uint8_t, 4>> LongToBytes(int64_t value, bool isSigned);
// IEEE-754 single, most significant byte first.
float BytesToFloat(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
std::array<uint8_t, 4> FloatToBytes(double value);

// CRC-16/MODBUS (reflected 0xA001, start 0xFFFF); the low byte goes on the wire first.
struct Crc16 {
    uint8_t CrcLo = 0xFF;
    uint8_t CrcHi = 0xFF;
};
// The CRC of bytes; given the CRC of the bytes before them as from, the CRC of the whole.
Crc16 Crc16Modbus(std::span<const uint8_t> bytes, Crc16 from = {});
// CRC of the first n bytes into comm.CrcLo / comm.CrcHi (n is bounded by the array).
void CalcolaCRC(CommState& comm, std::span<const uint8_t> bytes, int n);
// Checks the CRC of the first n bytes against the last two bytes of the answer in comm.RxBuffer.
// A mismatch shows "Errore Checksum 1" (low byte) or "Errore Checksum 2" (high byte).
bool VerificaCRC(CommState& comm, UserDialogs& dialogs, std::span<const uint8_t> bytes, int n);
// The comparison of VerificaCRC, for a CRC already in comm.CrcLo / comm.CrcHi.
bool ConfrontaCRC(CommState& comm, UserDialogs& dialogs);

// Modbus ASCII LRC: two's complement of the byte sum, modulo 256.
uint8_t Lrc8(std::span<const uint8_t> bytes);
void CalcolaLRC(CommState& comm, std::span<const uint8_t> bytes, int n);

// CRC-8/MAXIM (reflected 0x8C, start 0) of the character codes.
uint8_t Crc8(std::string_view text);
