// Edits of the predefined text store as the tree editor makes them: plain document operations with
// no window involved, so each can be checked on its own. Entries are <item> elements under <config>;
// names and texts are UTF-8, as the document keeps them.
#pragma once

#include <string>

#include "include/xml.h"

namespace textedit {

// The <config> element the entries hang from; null when the document has none (missing or
// foreign file), and then nothing can be added.
xml::NodePtr ConfigElement(const CXmlDocument& doc);

// Makes `doc` an empty store meant for `fileName`, a file that is not there yet: a <config>
// element under the declaration of the program's own files. The first Save writes it.
void StartNewStore(CXmlDocument& doc, const std::string& fileName);

// Appends a new entry named `name` (and nothing else) as the last child of `parent`; null when
// `parent` is null or refuses children.
xml::NodePtr AddEntry(CXmlDocument& doc, const xml::NodePtr& parent, const std::string& name);

// Removes `entry`, with everything below it, from `parent`. False when it is not a child there.
bool RemoveEntry(CXmlDocument& doc, const xml::NodePtr& parent, const xml::NodePtr& entry);

// Swaps two children of `parent` with all their sub-entries by putting a deep copy of each in the
// place of the other. Other children in between stay where they are. On success the copies are
// handed out: `firstNow` stands where `first` stood (a copy of `second`), and the other way round.
bool SwapEntries(const xml::NodePtr& parent, const xml::NodePtr& first, const xml::NodePtr& second,
                 xml::NodePtr& firstNow, xml::NodePtr& secondNow);

// Sets the entry's text from what the text box holds (line breaks escaped) or its name as typed.
bool StoreText(CXmlDocument& doc, const xml::NodePtr& entry, const std::string& boxText);
bool StoreName(CXmlDocument& doc, const xml::NodePtr& entry, const std::string& name);

// Characters the text box accepts. Far beyond any real text, yet small enough that a value at
// this length still loads again after it was escaped and written (the reader refuses values and
// files beyond its own limits, and would then show the whole store as empty).
constexpr size_t kMaxBoxText = 1'000'000;

// True when the document, written as it is now, would load again within the reader's limits.
bool FitsLoadLimits(const xml::Node& document, const xml::ParseOptions& limits = {});

}  // namespace textedit
