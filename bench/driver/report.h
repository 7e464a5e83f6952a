#pragma once
// The results table and the notes beside it, as Markdown.

#include <string>
#include <vector>

namespace bench {

struct Row {
    std::string measure;
    std::string shell;
    std::string floor;
    std::string ratio;
    std::string goal;
    std::string met;  // "yes", "no", or empty for a figure without a goal
};

class Report {
public:
    void add(Row row) { rows_.push_back(std::move(row)); }
    void note(std::string text) { notes_.push_back(std::move(text)); }
    std::string markdown() const;

private:
    std::vector<Row> rows_;
    std::vector<std::string> notes_;
};

inline std::string verdict(bool met) { return met ? "yes" : "**no**"; }

}  // namespace bench
