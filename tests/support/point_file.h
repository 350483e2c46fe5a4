#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "checks/header_line.h"
#include "checks/point_list.h"
#include "run/run_state.h"

// Runs whole checks over point file text in memory, and builds rows from
// known-good ones with one column changed.

namespace marlint::testing {

// A header with room for every data path the rows below use.
inline constexpr char kHeader[] = "2,3,False";

// Known-good rows, one per kind of point.
inline constexpr char kSampleRow[] =
    "C,Temp1,SAMPLE,,500,MILLIMETER,Path,PMC path 2,6,String,R,D,100,";
inline constexpr char kCncSampleRow[] = "C,Temp2,SAMPLE,,500,NONE,Path,,1,String,R,,100,";
inline constexpr char kBitSampleRow[] =
    "C,Door1,SAMPLE,,500,NONE,Device,PMC path 1,7,String,R,X,10,3";
inline constexpr char kEventRow[] = "C,Event1,EVENT,,800,,Controller,CNC path 1,2,String,R,,500,";
inline constexpr char kConstantEventRow[] = "C,State1,EVENT,RUNNING,800,,Controller,,,,,,,";
inline constexpr char kConditionRow[] = "C,Alarm1,CONDITION,1000 2999,800,,Path2,,,,,,,";
inline constexpr char kDeviceRow[] = "D,ReadMode_1,,,,,,,,,,,,";

struct CheckOutcome {
  bool failed = false;
  std::string resultText;
  ControllerConfig config;
  PointList points;
  // For `checkRow`: the row's record as the column checks leave it. Its
  // texts are views into `row`.
  PointRecord record;
  std::shared_ptr<const std::string> row;
};

// Runs every check over `fileText` as if it were a point file.
CheckOutcome checkPointFile(std::string_view fileText);

// Runs every check over the header `kHeader` followed by `row`, and the
// row's checks once more on their own to show what they store in the record.
CheckOutcome checkRow(std::string_view row);

// The same under another header line.
CheckOutcome checkRowUnder(std::string_view header, std::string_view row);

// `row` with its field `index` (counted from 0) replaced by `value`.
std::string withField(std::string_view row, std::size_t index, std::string_view value);

}  // namespace marlint::testing
