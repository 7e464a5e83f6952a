#pragma once
// What every toast of the shell must look like around its two texts: the generic template,
// the short duration and silent audio, as events of the tests' XML reader.

#include <vector>

#include "xml_reader.h"

namespace xml_reader {

inline const std::vector<Node> kToastTemplate = {
    {Node::start, "toast", ""},
    {Node::attribute, "duration", "short"},
    {Node::start, "visual", ""},
    {Node::start, "binding", ""},
    {Node::attribute, "template", "ToastGeneric"},
    {Node::start, "text", ""},
    {Node::end, "text", ""},
    {Node::start, "text", ""},
    {Node::end, "text", ""},
    {Node::end, "binding", ""},
    {Node::end, "visual", ""},
    {Node::start, "audio", ""},
    {Node::attribute, "silent", "true"},
    {Node::end, "audio", ""},
    {Node::end, "toast", ""},
};

// The document without its text: the markup to compare with the template.
inline std::vector<Node> markup(const std::vector<Node>& nodes) {
    std::vector<Node> kept;
    for (const auto& node : nodes)
        if (node.kind != Node::text) kept.push_back(node);
    return kept;
}

}  // namespace xml_reader
