#pragma once
// Registri.ClearRegistri: zero into the first 16 user registers of the current model.
struct AppContext;

// One function-16 request of 16 zero registers from the model's FirstUserRegister; the result is not used.
void ClearRegistri(AppContext& app);
