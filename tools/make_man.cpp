// Turns the one text of the manual pages (doc/man.txt) into troff pages, one
// per "@page" of it: OUT/man1/NAME.1 for English, OUT/LANG/man1/NAME.1 for the
// others. The build runs it and compresses the pages for installation.
//   pelorin-make-man SOURCE OUT VERSION MAINTAINER HOMEPAGE
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Replace(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

// A line of text as troff reads it: backslashes stay where the source meant an
// escape ("\-", "\(em"), hyphens of options and names become minus signs, and a
// line that would start a request is protected.
std::string Troff(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            out += c;
            out += text[++i];
            continue;
        }
        if (c == '-') out += "\\-";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

std::string Upper(const std::string& s) {
    std::string u = s;
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr << "usage: pelorin-make-man SOURCE OUT VERSION MAINTAINER HOMEPAGE\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "pelorin-make-man: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::filesystem::path out = argv[2];
    const std::map<std::string, std::string> vars{
        {"@VERSION@", argv[3]}, {"@MAINTAINER@", argv[4]}, {"@HOMEPAGE@", argv[5]}};

    std::map<std::filesystem::path, std::ostringstream> pages;
    std::ostringstream* page = nullptr;
    bool inParagraph = false;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '#') continue;
        for (const auto& [k, v] : vars) line = Replace(line, k, v);
        if (line.rfind("@page ", 0) == 0) {
            std::istringstream words(line.substr(6));
            std::string name, section, lang;
            words >> name >> section >> lang;
            if (name.empty() || section.empty() || lang.empty()) {
                std::cerr << argv[1] << ":" << lineNo << ": @page NAME SECTION LANG\n";
                return 1;
            }
            const std::filesystem::path dir = lang == "en" ? out / ("man" + section) : out / lang / ("man" + section);
            page = &pages[dir / (name + "." + section)];
            *page << ".TH " << Troff(Upper(name)) << " " << section << " \"\" \"Pelorin " << vars.at("@VERSION@")
                  << "\" \"Pelorin\"\n";
            inParagraph = false;
            continue;
        }
        if (page == nullptr) {
            if (!line.empty()) {
                std::cerr << argv[1] << ":" << lineNo << ": text before the first @page\n";
                return 1;
            }
            continue;
        }
        if (line.rfind("@sh ", 0) == 0) {
            *page << ".SH " << Troff(line.substr(4)) << "\n";
            inParagraph = false;
        } else if (line.rfind("@tp ", 0) == 0) {
            *page << ".TP\n.B " << Troff(line.substr(4)) << "\n";
            inParagraph = true;
        } else if (line.rfind("@ex ", 0) == 0) {
            *page << ".nf\n" << Troff(line.substr(4)) << "\n.fi\n";
        } else if (line.empty()) {
            if (inParagraph) *page << ".PP\n";
            inParagraph = false;
        } else {
            *page << Troff(line) << "\n";
            inParagraph = true;
        }
    }
    for (auto& [path, text] : pages) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream f(path, std::ios::binary);
        f << text.str();
        if (!f.flush()) {
            std::cerr << "pelorin-make-man: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
