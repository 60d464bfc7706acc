// The five quantities of the result store in the order of the ordinate list: the history that
// holds each, its name, the symbol of its spectral value and its unit.
#pragma once

#include <optional>

#include "engine/ResultStore.h"

struct ResponseQuantity {
    const char* name;    // as the ordinate list shows it
    const char* symbol;  // the spectral value: "Sd", "PSa"
    const char* unit;    // "cm", "cm/s", "g"
    History ResultStore::*history;
};

// The quantity of ordinate choice (0 displacement .. 4 pseudo-acceleration); none outside.
std::optional<ResponseQuantity> QuantityOfChoice(int choice);
