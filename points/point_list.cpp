#include <cstring>
#include <stdexcept>

#include "input/split_fields.h"
#include "points/point_record.h"

namespace marlint {
namespace {

// Large enough that a block holds thousands of names, small enough that the
// unused tail of the last block does not matter for a short file.
constexpr std::size_t kTextBlockSize = 64 * 1024;

char* copyText(char* destination, std::string_view text) {
  if (!text.empty()) {
    std::memcpy(destination, text.data(), text.size());
  }
  return destination + text.size();
}

// `value` in the narrower type the list stores it in. Throws instead of
// cutting a value that does not fit, so a stored record is always the
// appended one.
template <typename Narrow, typename Wide>
Narrow narrowed(Wide value, const char* what) {
  const auto result = static_cast<Narrow>(value);
  if (static_cast<Wide>(result) != value) {
    throw std::out_of_range(what);
  }
  return result;
}

}  // namespace

char* PointList::TextBlocks::allocate(std::size_t size) {
  if (size <= unusedSize_) {
    char* const begin = unusedBegin_;
    unusedBegin_ += size;
    unusedSize_ -= size;
    return begin;
  }
  // A long text gets a block of its own, so the free tail of the shared
  // block stays in use for the short texts that follow.
  if (size > kTextBlockSize / 4) {
    blocks_.push_back(std::unique_ptr<char[]>(new char[size]));
    return blocks_.back().get();
  }
  blocks_.push_back(std::unique_ptr<char[]>(new char[kTextBlockSize]));
  unusedBegin_ = blocks_.back().get() + size;
  unusedSize_ = kTextBlockSize - size;
  return blocks_.back().get();
}

std::uint16_t PointList::indexOfLocationAndReturnType(const std::string& xmlLocation,
                                                      const std::string& returnType) {
  // A run knows at most a dozen XML locations and one return type, so a
  // short list searched from the front is all it takes.
  for (std::size_t i = 0; i < distinctLocationAndReturnTypes_.size(); ++i) {
    const auto& [knownLocation, knownReturnType] = distinctLocationAndReturnTypes_[i];
    if (knownLocation == xmlLocation && knownReturnType == returnType) {
      return static_cast<std::uint16_t>(i);
    }
  }
  const auto index =
      narrowed<std::uint16_t>(distinctLocationAndReturnTypes_.size(),
                              "PointList: too many distinct pairs of XML location and return type");
  distinctLocationAndReturnTypes_.emplace_back(xmlLocation, returnType);
  return index;
}

void PointList::append(const PointRecord& record) {
  // Constant values are the blank-separated words of their column, so they
  // hold no blank and are never empty: joined by blanks they split back
  // into the same list.
  std::size_t constantValuesLength = 0;
  for (const std::string& value : record.constantValues) {
    constantValuesLength += (constantValuesLength == 0 ? 0 : 1) + value.size();
  }
  char* const text = texts_.allocate(record.name.size() + constantValuesLength);
  char* next = copyText(text, record.name);
  for (std::size_t i = 0; i < record.constantValues.size(); ++i) {
    if (i > 0) {
      *next++ = ' ';
    }
    next = copyText(next, record.constantValues[i]);
  }

  StoredPoint stored;
  stored.text = text;
  stored.nameLength = narrowed<std::uint32_t>(record.name.size(), "PointList: name too long");
  stored.constantValuesLength =
      narrowed<std::uint32_t>(constantValuesLength, "PointList: constant values too long");
  stored.cycle = record.cycle;
  stored.pathNumber = record.pathNumber;
  stored.startAddress = record.startAddress;
  stored.addressType = record.addressType;
  stored.locationAndReturnType =
      indexOfLocationAndReturnType(record.xmlLocation, record.returnType);
  stored.pointType = narrowed<std::int8_t>(record.pointType, "PointList: point type");
  stored.unit = narrowed<std::int8_t>(record.unit, "PointList: unit");
  stored.pathKind = narrowed<std::int8_t>(record.pathKind, "PointList: path kind");
  stored.dataType = narrowed<std::int8_t>(record.dataType, "PointList: data type");
  stored.bitPos = narrowed<std::int8_t>(record.bitPos, "PointList: bit position");
  stored.kind = record.kind;
  stored.accessType = record.accessType;

  if (size_ % kPointsPerBlock == 0) {
    pointBlocks_.push_back(std::unique_ptr<StoredPoint[]>(new StoredPoint[kPointsPerBlock]));
  }
  pointBlocks_.back()[size_ % kPointsPerBlock] = stored;
  ++size_;
}

PointRecord PointList::at(std::size_t index) const {
  if (index >= size_) {
    throw std::out_of_range("PointList::at");
  }
  const StoredPoint& stored = storedAt(index);
  PointRecord record;
  record.kind = stored.kind;
  record.name.assign(stored.text, stored.nameLength);
  record.pointType = stored.pointType;
  if (stored.constantValuesLength > 0) {
    const std::string_view joined(stored.text + stored.nameLength, stored.constantValuesLength);
    for (const std::string_view value : splitFields(joined, ' ')) {
      record.constantValues.emplace_back(value);
    }
  }
  record.cycle = stored.cycle;
  record.unit = stored.unit;
  const auto& [xmlLocation, returnType] =
      distinctLocationAndReturnTypes_[stored.locationAndReturnType];
  record.xmlLocation = xmlLocation;
  record.pathKind = stored.pathKind;
  record.pathNumber = stored.pathNumber;
  record.dataType = stored.dataType;
  record.returnType = returnType;
  record.accessType = stored.accessType;
  record.addressType = stored.addressType;
  record.startAddress = stored.startAddress;
  record.bitPos = stored.bitPos;
  return record;
}

}  // namespace marlint
