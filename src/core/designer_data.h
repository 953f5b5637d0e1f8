#pragma once
// Display pages, scheduler and logger tasks and display images, as the project keeps them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_record.h"

struct DisplayObject {
    uint8_t TypeCode = 0;
    uint8_t Reserved = 0; // the byte after the type code; not saved
    uint8_t X = 0, Y = 0, SizeX = 0, SizeY = 0, LineThickness = 0;
    std::string Text; // text or number format
    std::string AltText;
    int16_t Register = 0;
    uint8_t RegisterValueType = 0;
    int16_t Bit = 0;
    double Maximum = 0, Minimum = 0;
    uint8_t PictureOn = 0, PictureOff = 0;
    int16_t Reverse = 0, FirstOption = 0, SecondOption = 0, Direction = 0, AltTextFlag = 0;
    bool operator==(const DisplayObject&) const = default;
};

constexpr int MaxPageObjects = 32;
constexpr int MaxDisplayPages = 9;

struct DisplayPage {
    uint8_t ObjectCount = 0;
    std::array<DisplayObject, MaxPageObjects + 1> Objects{}; // slot 0 scratch, objects 1..count
};

struct DisplayPageArray {
    uint8_t Count = 1;
    std::array<DisplayPage, MaxDisplayPages> Pages{};
};

constexpr int MaxTasks = 36;
constexpr int TaskFieldListSize = 257;

struct SchedulerTask {
    std::array<uint8_t, 12> DateTime{}; // two date-times of six bytes
    uint8_t TaskType = 0;               // 0..6
    std::array<uint8_t, 12> Interval{}; // interval and period bytes
    std::string Directory;
    std::array<uint8_t, 2> Options{};
    int16_t TriggerRegister = 0;
    int16_t TriggerBit = 0;
    uint8_t FieldCount = 0;
    std::array<uint8_t, TaskFieldListSize> FieldList{}; // recorded variable numbers, column order
    int16_t EnableFlag = 0;                             // -1: an enable condition is present
    uint16_t EnableRegister = 0;
    uint16_t EnableMask = 0;
    int16_t EnableBit = 0;
    int16_t ActionRegister = 0;
    int16_t ActionValue = 0;

    // Rebuilt by compiling the tasks; never saved.
    CommandRecord TaskBlock;
    std::array<uint8_t, 301> TaskParameters{};
    std::string CsvHeaderLine;
};

struct TaskArray {
    uint8_t Count = 0;
    std::array<SchedulerTask, MaxTasks + 1> Tasks{}; // tasks 1..count
};

struct DisplayImage {
    std::string Name;
    int16_t ByteCount = 0;
    std::array<uint8_t, 529> Bitmap{};
    uint16_t DeviceAddress = 0; // where the compiler placed the bitmap
};

struct ImageTable {
    uint8_t Count = 0;
    std::vector<DisplayImage> Images; // images 0..count-1
};
