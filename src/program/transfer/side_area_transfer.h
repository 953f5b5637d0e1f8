#pragma once
// The side areas (variables, strings, CSV headers, text blocks) of source: encoded into MemoryImage by
// address and, with download true, written to the controller. With download false (export) they only encode,
// and log no success of their own. Every write is examined: the first failure logs the label + " Failed" and
// gives false.
#include <string>

#include "program/transfer/transfer_view.h"

struct AppContext;
struct Project;

bool DownloadVariabili(AppContext& app, const Project& source, const TransferView& view, bool download);
bool DownloadStringhe(AppContext& app, const Project& source, const TransferView& view, bool download);
bool DownloadIntestazioniCSV(AppContext& app, const Project& source, const TransferView& view, bool download);
// Blocks firstBlock .. MaxBlocks - 1 (the variant build leaves the first 16 to the device).
bool DownloadBlocchi(AppContext& app, const Project& source, const TransferView& view, bool download,
                     int firstBlock);

// The first string (when strings is true) or text block from firstBlock that does not fit its slot with its
// terminator, named with the limit; empty when all fit. The encoders would cut it, and the controller
// would read on into the next slot.
std::string SideTextOverflow(const AppContext& app, bool strings, int firstBlock);

// The first variable whose registers or string numbers the model does not have or lie outside the
// controller's addresses, named with the field and the model's range; empty when every variable can be
// encoded.
std::string UnencodableVariable(const AppContext& app);

// The SMS step: nothing to send is defined, so it always reports failure.
bool FunzioneVuota();
