#pragma once
// The Modbus transaction: the one road of every device request.
#include <cstdint>

struct AppContext;

// Result codes of TrasmettiRicevi.
constexpr uint8_t ComOk = 0;
constexpr uint8_t ComTimeout = 1;     // no answer, CRC error, malformed answer or a failure inside
constexpr uint8_t ComWrongAnswer = 2; // other slave address or function code (exception answers too)
constexpr uint8_t ComNotConnected = 3;

// Sends the request in app.comm.TxBuffer[0 .. TxLength-1] framed for the current LinkMode (RTU: CRC appended
// to TxBuffer and TxLength += 2, then TxLength = 0 unless EchoRemove; TCP: MBAP header in front, buffer
// untouched), waits for the answer without letting user input in, checks it and leaves it in
// RxBuffer/RxLength. Writes status panel 4 and the log; message boxes only with showMessages non-zero
// (the CRC mismatch boxes always). Results 1 and 2 set PollStop = 1. A call made while another
// transaction waits is refused with result 1.
uint8_t TrasmettiRicevi(AppContext& app, int16_t showMessages);
