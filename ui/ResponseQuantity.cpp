// The quantity of an ordinate choice.
#include "ui/ResponseQuantity.h"

std::optional<ResponseQuantity> QuantityOfChoice(int choice) {
    if (choice < 0 || choice >= static_cast<int>(kResponseQuantities.size())) {
        return std::nullopt;
    }
    return kResponseQuantities[static_cast<std::size_t>(choice)];
}
