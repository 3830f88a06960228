// Checks every #include of the project's folders against the layer table of docs/architecture.md.
//
//   quellin_layer_check ROOT RULES.md
//
// Prints one line per include the table does not allow, "path:line: text", and exits 1 when there
// is one; 0 when every include is allowed; 2 when the table cannot be read.
//
// The table has one row per folder: the folder, the project folders its files may include, and
// whether they may include Qt headers and RtMidi, JACK or ALSA headers. A file belongs to the row
// of the longest folder its path starts with; so does an included project header. An allowed entry
// that is no row of its own (ui/) admits every row below it.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Row {
    std::string folder; // "ui/editor/"
    std::vector<std::string> allowed;
    bool qt = false;
    bool midiLibraries = false;
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t`");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t`");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitCells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = line.find('|');
    while (start != std::string::npos) {
        const size_t end = line.find('|', start + 1);
        if (end == std::string::npos) break;
        cells.push_back(line.substr(start + 1, end - start - 1));
        start = end;
    }
    return cells;
}

// The rows of the table that follows the heading line "| Folder | May include |".
std::optional<std::vector<Row>> ReadRules(const fs::path& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::vector<Row> rows;
    bool inTable = false;
    for (std::string line; std::getline(in, line);) {
        const auto cells = SplitCells(line);
        if (!inTable) {
            inTable = cells.size() == 4 && Trim(cells[0]) == "Folder" && Trim(cells[1]) == "May include";
            continue;
        }
        if (cells.size() != 4) break;
        if (Trim(cells[0]).starts_with("---")) continue;
        Row row;
        row.folder = Trim(cells[0]);
        for (size_t from = 0; from <= cells[1].size();) {
            size_t comma = cells[1].find(',', from);
            if (comma == std::string::npos) comma = cells[1].size();
            const std::string entry = Trim(cells[1].substr(from, comma - from));
            if (!entry.empty()) row.allowed.push_back(entry);
            from = comma + 1;
        }
        row.qt = Trim(cells[2]) == "yes";
        row.midiLibraries = Trim(cells[3]) == "yes";
        if (!row.folder.ends_with('/')) return std::nullopt;
        rows.push_back(std::move(row));
    }
    if (rows.empty()) return std::nullopt;
    return rows;
}

const Row* RowOf(const std::vector<Row>& rows, const std::string& path) {
    const Row* best = nullptr;
    for (const Row& row : rows)
        if (path.starts_with(row.folder) && (!best || row.folder.size() > best->folder.size())) best = &row;
    return best;
}

bool IsRowFolder(const std::vector<Row>& rows, const std::string& folder) {
    return std::any_of(rows.begin(), rows.end(), [&](const Row& r) { return r.folder == folder; });
}

bool Allows(const std::vector<Row>& rows, const Row& from, const Row& to) {
    for (const std::string& entry : from.allowed) {
        if (entry == to.folder) return true;
        if (!IsRowFolder(rows, entry) && to.folder.starts_with(entry)) return true;
    }
    return false;
}

bool IsQtHeader(const std::string& header) {
    return header.size() > 1 && header[0] == 'Q' && std::isupper(static_cast<unsigned char>(header[1]));
}

bool IsMidiLibraryHeader(const std::string& header) {
    return header.starts_with("rtmidi/") || header.starts_with("jack/") || header.starts_with("alsa/") ||
           header == "RtMidi.h";
}

// The project path an include names. A quoted include is looked for beside the including file
// first, as the compiler does, then from the root.
std::string ProjectPath(const fs::path& root, const fs::path& file, const std::string& header) {
    const fs::path beside = (file.parent_path() / header).lexically_normal();
    if (fs::is_regular_file(beside)) return beside.lexically_relative(root).generic_string();
    return fs::path(header).lexically_normal().generic_string();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quellin_layer_check ROOT RULES.md\n";
        return 2;
    }
    const fs::path root = fs::path(argv[1]).lexically_normal();
    const auto rules = ReadRules(argv[2]);
    if (!rules) {
        std::cerr << argv[2] << ": no layer table (| Folder | May include | Qt | RtMidi, JACK, ALSA |)\n";
        return 2;
    }

    std::vector<fs::path> files;
    for (const Row& row : *rules) {
        const fs::path folder = root / row.folder;
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".hpp" || ext == ".cpp"))
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());

    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<std::string> faults;
    for (const fs::path& file : files) {
        const std::string relative = file.lexically_relative(root).generic_string();
        const Row* from = RowOf(*rules, relative);
        if (from == nullptr) continue;
        std::ifstream in(file);
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            std::smatch match;
            if (!std::regex_search(line, match, include)) continue;
            const std::string header = match[2];
            const std::string where = relative + ":" + std::to_string(number) + ": ";
            if (match[1] == "<") {
                if (IsQtHeader(header) && !from->qt)
                    faults.push_back(where + from->folder + " may not include Qt: <" + header + ">");
                if (IsMidiLibraryHeader(header) && !from->midiLibraries)
                    faults.push_back(where + from->folder + " may not include RtMidi, JACK or ALSA: <" +
                                     header + ">");
                continue;
            }
            const Row* to = RowOf(*rules, ProjectPath(root, file, header));
            if (to != nullptr && !Allows(*rules, *from, *to))
                faults.push_back(where + from->folder + " may not include " + to->folder + ": \"" + header +
                                 "\"");
        }
    }
    for (const std::string& fault : faults) std::printf("%s\n", fault.c_str());
    return faults.empty() ? 0 : 1;
}
