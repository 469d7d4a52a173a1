#include "catalogue/footprintparser.h"

#include <libxml/xmlreader.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "model/text.h"
#include "varnholt/model/error.h"

namespace varnholt::catalogue {

namespace {

using Reader = std::unique_ptr<xmlTextReader, decltype(&xmlFreeTextReader)>;

// Malformed content is skipped on purpose, so libxml2 reports nothing.
void ignoreError(void*, xmlErrorPtr) {}

// The reader parses what it is handed in one go and drops every element of
// that piece when the piece holds a fault. Handing it one tag at a time (each
// piece ends after a '>') makes it deliver every element before a fault.
struct Feed {
  std::string_view rest;
};

int readPiece(void* context, char* buffer, int capacity) {
  std::string_view& rest = static_cast<Feed*>(context)->rest;
  const size_t close = rest.find('>');
  const size_t piece = std::min(close == std::string_view::npos ? rest.size() : close + 1,
                                static_cast<size_t>(capacity));
  std::memcpy(buffer, rest.data(), piece);
  rest.remove_prefix(piece);
  return static_cast<int>(piece);
}

std::string_view view(const xmlChar* text) {
  return text == nullptr ? std::string_view() : reinterpret_cast<const char*>(text);
}

bool isSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

// True when the text ends inside a "<blocked" tag whose name is followed by
// whitespace (where its attributes begin) and which has no closing '>'.
bool endsInsideBlockedTag(std::string_view text) {
  constexpr std::string_view kName = "blocked";
  const size_t open = text.rfind('<');
  if (open == std::string_view::npos) return false;
  const std::string_view tag = text.substr(open + 1);
  if (!tag.starts_with(kName) || tag.size() == kName.size() || !isSpace(tag[kName.size()])) {
    return false;
  }
  char quote = 0;
  for (char ch : tag.substr(kName.size())) {
    if (quote != 0) {
      if (ch == quote) quote = 0;
    } else if (ch == '"' || ch == '\'') {
      quote = ch;
    } else if (ch == '>') {
      return false;
    }
  }
  return true;
}

// The cell of the "blocked" element the reader stands on; attributes other
// than dx, dy and block are ignored.
model::BuildingMetaBlock readCell(xmlTextReaderPtr reader) {
  model::BuildingMetaBlock cell;
  while (xmlTextReaderMoveToNextAttribute(reader) == 1) {
    const std::string_view name = view(xmlTextReaderConstName(reader));
    const std::string_view value = view(xmlTextReaderConstValue(reader));
    if (name == "dx") {
      cell.xOffset = parseInteger(value);
    } else if (name == "dy") {
      cell.yOffset = parseInteger(value);
    } else if (name == "block") {
      cell.blocked = parseBool(value);
    }
  }
  return cell;
}

// Raises the flag that context points to; the fault itself is not reported,
// since malformed content is skipped on purpose.
void noteFault(void* context, xmlErrorPtr) { *static_cast<bool*>(context) = true; }

// No DTD loading and no network: the DOCTYPE is never fetched.
constexpr int kOptions = XML_PARSE_NONET;

Reader checked(xmlTextReaderPtr reader) {
  if (reader == nullptr) throw exception("Cannot create an XML reader");
  return Reader(reader, xmlFreeTextReader);
}

// A reader over the whole text; faulty is set when libxml2 reports any fault.
Reader wholeReader(std::string_view text, bool& faulty) {
  Reader reader = checked(xmlReaderForMemory(text.data(), static_cast<int>(text.size()), nullptr,
                                             nullptr, kOptions));
  xmlTextReaderSetStructuredErrorHandler(reader.get(), noteFault, &faulty);
  return reader;
}

// A reader fed one tag at a time from feed, which must outlive it.
Reader pieceReader(Feed& feed) {
  Reader reader = checked(xmlReaderForIO(readPiece, nullptr, &feed, nullptr, nullptr, kOptions));
  xmlTextReaderSetStructuredErrorHandler(reader.get(), ignoreError, nullptr);
  return reader;
}

// Every "blocked" element with attributes that the reader delivers, in order.
model::BuildingMeta readCells(Reader reader) {
  model::BuildingMeta meta;
  while (xmlTextReaderRead(reader.get()) == 1) {
    if (xmlTextReaderNodeType(reader.get()) == XML_READER_TYPE_ELEMENT &&
        view(xmlTextReaderConstName(reader.get())) == "blocked" &&
        xmlTextReaderHasAttributes(reader.get()) == 1) {
      meta.blocks.push_back(readCell(reader.get()));
    }
  }
  return meta;
}

}  // namespace

model::BuildingMeta parseBuildingMeta(std::string_view text) {
  // A well-formed document parses as a whole; only one with a fault needs
  // the slower tag-by-tag feed that keeps the cells before the fault.
  bool faulty = false;
  model::BuildingMeta meta;
  try {
    meta = readCells(wholeReader(text, faulty));
  } catch (const Error&) {
    // A bad value behind a fault that was already seen is never reached by
    // the tag-by-tag feed; one before any fault is reached by both.
    if (!faulty) throw;
  }
  if (faulty) {
    Feed feed{text};
    meta = readCells(pieceReader(feed));
  }
  if (endsInsideBlockedTag(text)) throw exception("Early EOF");
  return meta;
}

}  // namespace varnholt::catalogue
