// The quantity table of the ordinate list.
#include "ui/ResponseQuantity.h"

#include <array>

namespace {

const std::array<ResponseQuantity, 5> kQuantities = {{
    {"Displacement", "Sd", "cm", &ResultStore::sdHistory},
    {"Velocity", "Sv", "cm/s", &ResultStore::svHistory},
    {"Acceleration", "Sa", "g", &ResultStore::saHistory},
    {"Pseudo-Velocity", "PSv", "cm/s", &ResultStore::psvHistory},
    {"Pseudo-Acceleration", "PSa", "g", &ResultStore::psaHistory},
}};

}  // namespace

std::optional<ResponseQuantity> QuantityOfChoice(int choice) {
    if (choice < 0 || choice >= static_cast<int>(kQuantities.size())) {
        return std::nullopt;
    }
    return kQuantities[static_cast<std::size_t>(choice)];
}
