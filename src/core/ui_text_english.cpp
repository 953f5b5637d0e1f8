#include "core/text_tables.h"

// Interface texts of the English set, by key (resources 3000 + k).
const std::array<const char*, UiTextKeys> UiTextEnglish{
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
    // 7
    "January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
    "November", "December",
    // 19
    "Project", "New", "Open...", "Close", "Save", "Save as...", "Exit", "Settings", "Controller", "Workspace",
    // 29
    "View", "Project", "Program", "Registers", "Log", "Tools", "Search", "Immages", "Config", "Variables",
    // 39
    "Modbus", "Display", "Tables", "?", "About", "Error check", "Error", "Resource usage", "Program",
    "Process",
    // 49
    "Compiling", "Compiled", "Impossible to compile", "Label Error", "Program", "Registers Table", "Register",
    "Name", "Value", "Type",
    // 59
    "Set Register", "Functions", "Functions", "Options", "Label", "Address", "Register", "Number", "Dest",
    "Delay",
    // 69
    "Source", "Device", "Resource", "From", "To", "Mask", "Function", "Block", "Goto if True",
    "Goto if False",
    // 79
    "Call if False", "Tables", "Table", "Name", "N Points", "Point List", "Table List", "Load from File",
    "Save to File", "Settings",
    // 89
    "Controller", "Type", "Node ID", "Channel", "Ethernet", "COM Port", "IP Address", "Port", "Workspace",
    "Debug Mode",
    // 99
    "Automatic reg. update", "'Animate' time", "Search Devices", "Port", "Timeout", "Address",
    "From:", "To:", "Baud Rate", "Search",
    // 109
    "Stop", "Search Slave Nodes", "Configure Devices", "Address", "Type", "Update", "Start", "Stop", "Prog",
    "Comm",
    // 119
    "Events", "I/O", "RTCC", "Display", "Address", "ID Modulo", "Nome Modulo", "PowerUp", "WatchDog", "Mode",
    // 129
    "POS", "NEG", "Brightness", "Contrast", "Slave", "Master", "Baud Rate", "Delay", "WDT", "En.WDT",
    // 139
    "Analog Inputs", "Input Type", "En.", "Input Value", "Break", "Sync", "Sync", "Analog Outputs", "Type",
    "Output Value",
    // 149
    "Safe Value", "Digital Inputs", "Digital Outputs", "Latch", "Clear Latch", "PwrUp", "Safe", "Variables",
    "ID", "Reg",
    // 159
    "Type", "Format", "Label", "Update", "Write", "Display", "Pages", "Objects", "Position", "Reverse",
    // 169
    "Bit [0\xF7"
    "15]",
    "Picture", "Export", "Do you want to save your changes?", "Year", "Month", "Date", "Hour", "Minute",
    "Second",
    // 179
    "Years", "Months", "Days", "Hours", "Scheduler", "Logger", "Lifetime", "Start", "Stop", "DD",
    // 189
    "MM", "YY", "hh", "mm", "ss", "File", "Directory", "New File each...", "Hour", "Day",
    // 199
    "Month", "Year", "Trigger", "Time", "Trigger", "Record format", "Event Type", "Set Formats",
    "Alternative", "Lenght",
    // 209
    "Width", "Line Width", "The application must contain at least 1 function block"};
