// The five quantities of the result store in the order of the ordinate list: the history that
// holds each, its names, the symbol of its spectral value and its unit.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "engine/ResultStore.h"

struct ResponseQuantity {
    const char* name;    // as the ordinate list shows it: "Pseudo-Acceleration"
    const char* title;   // in copied headers: "Response Displacement"
    const char* symbol;  // the spectral value: "Sd", "PSa"
    const char* unit;    // "cm", "cm/s", "g"
    History ResultStore::*history;
};

inline const std::array<ResponseQuantity, 5> kResponseQuantities = {{
    {"Displacement", "Response Displacement", "Sd", "cm", &ResultStore::sdHistory},
    {"Velocity", "Response Velocity", "Sv", "cm/s", &ResultStore::svHistory},
    {"Acceleration", "Response Acceleration", "Sa", "g", &ResultStore::saHistory},
    {"Pseudo-Velocity", "Pseudo-Velocity", "PSv", "cm/s", &ResultStore::psvHistory},
    {"Pseudo-Acceleration", "Pseudo-Acceleration", "PSa", "g", &ResultStore::psaHistory},
}};

// The quantity of ordinate choice (0 displacement .. 4 pseudo-acceleration); none outside.
std::optional<ResponseQuantity> QuantityOfChoice(int choice);

// The history of quantity (an index of kResponseQuantities, below its size) in store.
inline const History& QuantityHistory(const ResultStore& store, std::size_t quantity) {
    return store.*kResponseQuantities.at(quantity).history;
}
