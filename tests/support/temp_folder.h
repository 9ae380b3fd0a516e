// A scratch folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace gd::test {

struct TempFolder {
    std::string path = ::mkdtemp(
        (std::filesystem::temp_directory_path() / "glyphdrop-test-XXXXXX").string().data());
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return path + "/" + name; }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    bool Has(const std::string& name) const { return std::filesystem::exists(File(name)); }
};

}  // namespace gd::test
