// A scratch folder for tests that write their own fixture files.
#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary directory, removed with its contents when
// the object goes out of scope.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of name inside the folder (nothing is created).
    std::string Path(const std::string& name) const;
    // Writes bytes as the file name inside the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path root;
};
