// The product's fixed texts: name, build stamp and the one project page address.
#pragma once

inline constexpr const char* kProductName = "Orvanta";  // application title, error box title
inline constexpr const char* kBuildStamp = "(20220113)";
inline constexpr const char* kProjectPageUrl = "https://orvanta.example.org/";
