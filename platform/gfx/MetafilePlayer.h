#pragma once
// Playing a recorded page on a painter, and reading its records: the page
// search looks through the text records of a page.

#include "platform/gfx/Metafile.h"

#include <QRectF>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace gfx {

// Draws the page with its frame mapped onto dest (in the painter's
// coordinates). Records this player does not know are skipped.
void PlayEnhMetafile(QPainter& painter, const TMetafile& metafile, const QRectF& dest);

// Calls visit with every record in order, the header first, until visit
// returns false; returns true when every record was visited.
bool EnumerateMetafileRecords(const TMetafile& metafile,
                              const std::function<bool(const TEmfRecord& record, const std::uint8_t* data)>& visit);

// The string of a text record: the UTF-16 units of a wide-text record as
// stored, an ANSI record's bytes read in the ANSI code page; nothing for any
// other record or when the string lies outside the record.
std::optional<std::u16string> TextRecordString(const TEmfRecord& record, const std::uint8_t* data);

// The texts of every text record of the page, as UTF-8, in record order.
std::vector<std::string> MetafileTexts(const TMetafile& metafile);

} // namespace gfx
