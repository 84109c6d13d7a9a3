// The SVG file a document was read from, as the document keeps it, and the elements that its
// layers and art came from.
#pragma once

#include <pugixml.hpp>

#include "emulator/core/Document.h"

namespace emulator {

// The whole XML tree of the file, kept by the document it was read into.
struct SvgSource final : SourceFile {
    pugi::xml_document xml;
};

// The XML tree `document` was read from; null for a new document.
inline pugi::xml_document* SourceXml(const Document& document) {
    auto* source = dynamic_cast<SvgSource*>(document.source.get());
    return source != nullptr ? &source->xml : nullptr;
}

// The element a source node names (an empty node for a null one), and back.
inline pugi::xml_node XmlNode(SourceNode node) {
    return pugi::xml_node(static_cast<pugi::xml_node_struct*>(node.Get()));
}
inline SourceNode SourceOf(const pugi::xml_node& node) {
    return SourceNode(node.internal_object());
}

}  // namespace emulator
