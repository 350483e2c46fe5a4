#include <utility>

#include "points/point_record.h"

namespace marlint {

void PointList::append(PointRecord record) {
  records_.push_back(std::move(record));
}

}  // namespace marlint
