// A scratch folder for tests that write their own fixture files.
#include "support/TempFolder.h"

#include <fstream>
#include <random>
#include <stdexcept>

TempFolder::TempFolder() {
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() /
            ("orvanta-test-" + std::to_string(entropy()) + "-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(candidate)) {
            root = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::string TempFolder::Path(const std::string& name) const {
    return (root / name).string();
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}
