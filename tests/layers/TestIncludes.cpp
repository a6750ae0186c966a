// The includes of the whole tree against the layer table of README.md: no file includes a header
// of its own layer's other folder or of a layer above, and no files include each other in a
// circle. A header and its source are one file here, as they are one piece of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path Root = ZELVANO_SOURCE_DIR;

// Folder ("formula/draw/") -> layer, from the table after the "layers" mark in README.md.
std::map<std::string, int> LayerTable() {
    std::ifstream readme(Root / "README.md");
    std::map<std::string, int> layers;
    static const std::regex row(R"(^\|\s*(\d+)\s*\|(.*)\|\s*$)");
    static const std::regex folder("`([^`]+/)`");
    bool inTable = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.find("<!-- layers") != std::string::npos) inTable = true;
        if (!inTable) continue;
        std::smatch m;
        if (std::regex_match(line, m, row)) {
            const int layer = std::stoi(m[1]);
            const std::string folders = m[2];
            for (auto f = std::sregex_iterator(folders.begin(), folders.end(), folder);
                 f != std::sregex_iterator(); ++f)
                layers[(*f)[1]] = layer;
        } else if (!layers.empty() && !line.starts_with('|')) {
            break;
        }
    }
    return layers;
}

// The table's folder that holds a file, the longest that fits; empty for tests and benchmarks.
std::string FolderOf(const std::string &file, const std::map<std::string, int> &layers) {
    std::string best;
    for (const auto &[folder, layer] : layers)
        if (file.starts_with(folder) && folder.size() > best.size()) best = folder;
    return best;
}

std::string Unit(const std::string &file) {
    return fs::path(file).replace_extension().generic_string();
}

struct TInclude {
    std::string From; // the including file, from the top folder
    int Line;
    std::string Header;
};

// Every quoted include of the C++ files below the given top folders.
std::vector<TInclude> Includes(const std::vector<std::string> &tops) {
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<TInclude> out;
    for (const std::string &top : tops) {
        for (const auto &entry : fs::recursive_directory_iterator(Root / top)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
            const std::string file = fs::relative(entry.path(), Root).generic_string();
            std::ifstream in(entry.path());
            int n = 0;
            for (std::string line; std::getline(in, line);) {
                ++n;
                std::smatch m;
                if (std::regex_search(line, m, include)) out.push_back({file, n, m[1]});
            }
        }
    }
    return out;
}

// One circle of the graph as "a -> b -> a", or empty when there is none.
std::string FindCircle(const std::map<std::string, std::set<std::string>> &graph) {
    std::map<std::string, int> state; // 0 unseen, 1 on the path, 2 done
    std::vector<std::string> path;
    std::string found;
    std::function<bool(const std::string &)> visit = [&](const std::string &unit) {
        state[unit] = 1;
        path.push_back(unit);
        if (const auto edges = graph.find(unit); edges != graph.end()) {
            for (const std::string &next : edges->second) {
                if (state[next] == 1) {
                    for (auto at = std::find(path.begin(), path.end(), next); at != path.end();
                         ++at)
                        found += *at + " -> ";
                    found += next;
                    return true;
                }
                if (state[next] == 0 && visit(next)) return true;
            }
        }
        path.pop_back();
        state[unit] = 2;
        return false;
    };
    for (const auto &[unit, edges] : graph)
        if (state[unit] == 0 && visit(unit)) break;
    return found;
}

} // namespace

TEST(Includes, PointDownTheLayersAndNeverInACircle) {
    const std::map<std::string, int> layers = LayerTable();
    ASSERT_GE(layers.size(), 8u) << "the layer table of README.md was not found";
    std::vector<std::string> tops = {"tests", "bench"};
    for (const auto &[folder, layer] : layers)
        tops.push_back(folder);

    std::vector<std::string> wrong;
    std::map<std::string, std::set<std::string>> graph;
    for (const TInclude &i : Includes(tops)) {
        const std::string where =
            i.From + ":" + std::to_string(i.Line) + " includes \"" + i.Header + "\"";
        if (!fs::is_regular_file(Root / i.Header)) {
            wrong.push_back(where + ", which is not a path from the top folder");
            continue;
        }
        const std::string from = FolderOf(i.From, layers), to = FolderOf(i.Header, layers);
        if (!from.empty() && from != to && (to.empty() || layers.at(to) >= layers.at(from)))
            wrong.push_back(where + ": " + from + " (layer " + std::to_string(layers.at(from)) +
                            ") may not include " + (to.empty() ? i.Header : to));
        if (Unit(i.From) != Unit(i.Header)) graph[Unit(i.From)].insert(Unit(i.Header));
    }
    EXPECT_EQ(wrong, std::vector<std::string>());
    EXPECT_EQ(FindCircle(graph), "");
}
