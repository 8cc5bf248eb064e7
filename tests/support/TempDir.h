// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

class CTempDir {
public:
    CTempDir() {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("catforge-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~CTempDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Root() const { return m_path; }

    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Writes bytes gzip-compressed, as two members one after the other with split set.
    std::string WriteGzip(const std::string& name, const std::string& bytes,
                          bool split = false) const {
        const std::string path = Path(name);
        std::vector<std::string> parts{bytes};
        if (split)
            parts = {bytes.substr(0, bytes.size() / 2), bytes.substr(bytes.size() / 2)};
        for (std::size_t i = 0; i < parts.size(); ++i) {
            gzFile gz = gzopen(path.c_str(), i == 0 ? "wb" : "ab");
            gzwrite(gz, parts[i].data(), static_cast<unsigned>(parts[i].size()));
            gzclose(gz);
        }
        return path;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};
