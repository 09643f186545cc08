#pragma once
// A document with a listener that records every message it hears, for the
// tests that load text and look at what was said about it.

#include "xml/XmlDocument.h"

#include <string>
#include <vector>

namespace xmltest {

struct Heard {
    core::TObject* sender; // may be gone (the parser) after the load
    xml::TxDebugLevel level;
    std::string message;
    std::string senderClass;
};

struct Loaded {
    xml::TXmlDocument doc{nullptr};
    std::vector<Heard> heard;

    Loaded()
    {
        doc.OnDebugMessage = [this](core::TObject* sender, xml::TxDebugLevel level, const std::string& message) {
            heard.push_back({sender, level, message, sender->ClassName()});
        };
    }
    explicit Loaded(const std::string& text) : Loaded() { doc.LoadFromText(text); }

    // "level: message" of every message at or above level.
    std::vector<std::string> Messages(xml::TxDebugLevel least = xml::dlInfo) const
    {
        std::vector<std::string> out;
        for (const Heard& h : heard)
            if (h.level >= least)
                out.push_back(std::string(xml::DebugLevelNames[h.level]) + ": " + h.message);
        return out;
    }
    xml::TXmlNode* Top(int index) const { return doc.TopNodes().ItemAt(index); }
};

} // namespace xmltest
