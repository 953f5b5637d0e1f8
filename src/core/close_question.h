#pragma once
// The save question asked before a modified project is closed, replaced or left by exiting.
#include <functional>
#include <string>

struct AppContext;

// Asks "Do you want to save your changes?" with Yes, No and Cancel when the project is modified. True
// when the caller may go on: nothing was modified, the user chose No, or Yes and the save (asking for a
// name) succeeded. Cancel, a cancelled file dialog or a failed save give false: nothing may be discarded.
bool OfferToSave(AppContext& ctx, const std::function<bool(bool askName)>& save, const std::string& title);
