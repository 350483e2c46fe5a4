"""Writes acceptable point files of any size for the benchmark.

Every file starts with the header line 2,3,False (two PMC paths, three CNC
paths) and then cycles through rows of every point type and data path kind:
SAMPLE points on CNC and PMC paths with each data type, EVENT points with and
without a constant value, CONDITION points with several codes, and "D" rows
with method names and path suffixes. Names are unique and read like the names
of a real machine (SpindleTemp17, ReadMode_17).

With duplicate_last=True the last row repeats the name of the middle row, so
the whole file is read and checked before the duplicate name check fails.
"""

import os

HEADER = "2,3,False"

# (name stem, row after the name) for "C" rows; every row is acceptable under
# the header above.
C_ROWS = [
    ("SpindleTemp", "SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,"),
    ("LubePressure", "SAMPLE,,1000,PASCAL,Controller,CNC path 2,2,String,R,,512,"),
    ("AxisLoadX", "SAMPLE,,250,PERCENT,Path2,CNC path 3,3,String,R,,12,"),
    ("ToolLifeCount", "SAMPLE,,2000,COUNT,Path3,CNC path 1,4,String,R,,,"),
    ("CoolantFlow", "SAMPLE,,500,LITER / SECOND,Device,PMC path 1,5,String,R,R,200,"),
    ("SpindleAngle", "SAMPLE,,100,DEGREE / SECONDA^2,Path,PMC path 2,6,String,R,D,100,"),
    ("DoorOpen", "EVENT,,800,,Device,PMC path 1,7,String,R,X,10,3"),
    ("HydraulicLevel", "SAMPLE,,10000,LITER,Device,DCS path 9,8,String,R,,0,"),
    ("FeedSpeed", "SAMPLE,,800,MILLIMETER / SECOND,Path,PMC path 2,6,String,R,G,59999,"),
    ("MachineState", "EVENT,RUNNING,1000,,Controller,,,,,,,"),
    ("ShiftCode", "EVENT,,1000,,Controller,CNC path 1,1,String,R,,199,"),
    ("OverheatAlarm", "CONDITION,1000 1001 2500,1000,,Path,,,,,,,"),
    ("ServoAlarm", "CONDITION,2999,500,,Path2,,,,,,,"),
    ("SpindleSpeedActual", "SAMPLE,,100,REVOLUTION/MINUTE,Path,CNC path 1,2,String,R,,600,"),
    ("ClampPressureCheck", "EVENT,,500,,Path2,PMC path 1,7,String,R,Y,4711,7"),
]

D_METHODS = [
    "ReadEmergency",
    "ReadMode",
    "ReadAlarmWithType",
    "ReadSpindleSpeeds",
    "MainProgramName",
    "DynamicActualFeedrate",
    "ReadPartCount",
]

# One "D" row after every this many "C" rows.
C_ROWS_PER_D_ROW = 4


def point_rows(row_count):
    """Yields `row_count` acceptable point rows with unique names."""
    c_index = 0
    d_index = 0
    for row_number in range(row_count):
        if row_number % (C_ROWS_PER_D_ROW + 1) == C_ROWS_PER_D_ROW:
            method = D_METHODS[d_index % len(D_METHODS)]
            yield f"D,{method}_{d_index + 1},,,,,,,,,,,,"
            d_index += 1
        else:
            stem, rest = C_ROWS[c_index % len(C_ROWS)]
            yield f"C,{stem}{c_index + 1},{rest}"
            c_index += 1


def name_of(row):
    return row.split(",", 2)[1]


def write_point_file(path, row_count, duplicate_last=False):
    """Writes the file and returns the result text marlint must give for it."""
    rows = list(point_rows(row_count))
    expected = "OK"
    if duplicate_last:
        # A copy of the middle row: acceptable in itself, only its name repeats.
        rows[-1] = rows[row_count // 2]
        expected = name_of(rows[-1]) + " is duplicate point name."
    temporary = path + ".part"
    with open(temporary, "w", encoding="ascii", newline="\n") as out:
        out.write(HEADER + "\n")
        for row in rows:
            out.write(row + "\n")
    os.replace(temporary, path)
    return expected


# Ways to break an acceptable "C" row, one column each: (field, text).
FAULTS = [
    (4, "99"),            # cycle
    (5, "MILLIMETERS"),   # unit
    (6, "Path9"),         # XML location
    (2, "Sample"),        # point type
    (12, "60000"),        # start address
    (9, "string"),        # return type
]


def faulty_point_rows(row_count):
    """Yields `row_count` point rows that each have one fault."""
    for row_number, row in enumerate(point_rows(row_count)):
        fields = row.split(",")
        if fields[0] == "D":
            # A "D" row with an unknown method name.
            fields[1] = "Read" + fields[1]
        else:
            field, text = FAULTS[row_number % len(FAULTS)]
            if fields[field] == "" and field >= 7:
                field, text = FAULTS[0]  # a constant point leaves the data columns empty
            fields[field] = text
        yield ",".join(fields)


def write_faulty_point_file(path, row_count):
    """Writes a file in which every row has a fault."""
    temporary = path + ".part"
    with open(temporary, "w", encoding="ascii", newline="\n") as out:
        out.write(HEADER + "\n")
        for row in faulty_point_rows(row_count):
            out.write(row + "\n")
    os.replace(temporary, path)
