"""The checkable rules of the IOOS compliance checker's CF-1.8 and ACDD-1.3 suites, applied to
a netCDF file: prints one line per finding, "LEVEL suite: what", sorted; exit status 77 when the
netCDF4 module is missing. Usage: cf_acdd_rules.py FILE.nc CF_STANDARD_NAMES.tsv"""

import re
import sys
from datetime import datetime, timedelta

try:
    import netCDF4
    import numpy as np
except ImportError:
    sys.exit(77)

NAME = re.compile(r"^[A-Za-z][A-Za-z0-9_]*$")
CF_TYPES = {"int8", "int16", "int32", "float32", "float64", "<class 'str'>", "|S1"}
COVERAGE = {"image", "thematicClassification", "physicalMeasurement", "auxiliaryInformation",
            "qualityInformation", "referenceInformation", "modelResult", "coordinate"}
# Units each canonical unit of the table may be written in here.
UNITS = {"K": {"K", "degree_C"}, "1": {"1", None}, "": {None}, "s": {"s"},
         "degree_north": {"degree_north", "degrees_north"},
         "degree_east": {"degree_east", "degrees_east"}}
ACDD_HIGH = ["title", "keywords", "summary"]
ACDD_RECOMMENDED = [
    "id", "naming_authority", "history", "comment", "date_created", "creator_name",
    "creator_url", "creator_email", "institution", "project", "processing_level",
    "geospatial_bounds", "geospatial_lat_min", "geospatial_lat_max", "geospatial_lon_min",
    "geospatial_lon_max", "geospatial_vertical_min", "geospatial_vertical_max",
    "time_coverage_start", "time_coverage_end", "time_coverage_duration",
    "time_coverage_resolution", "standard_name_vocabulary", "license",
    "geospatial_vertical_positive", "geospatial_bounds_crs", "geospatial_bounds_vertical_crs",
    "publisher_name", "publisher_url", "publisher_email", "source", "acknowledgment"]
ACDD_SUGGESTED = [
    "contributor_name", "contributor_role", "date_modified", "date_issued",
    "geospatial_lat_units", "geospatial_lat_resolution", "geospatial_lon_units",
    "geospatial_lon_resolution", "geospatial_vertical_units", "geospatial_vertical_resolution",
    "creator_type", "creator_institution", "platform", "platform_vocabulary",
    "keywords_vocabulary", "instrument", "metadata_link", "product_version", "references",
    "publisher_type", "instrument_vocabulary", "date_metadata_modified", "program",
    "publisher_institution"]

findings = []


def find(level, suite, text):
    findings.append(f"{level} {suite}: {text}")


def iso(text):
    return datetime.fromisoformat(text.rstrip("Z"))


def main(path, table_path):
    table = {}
    for line in open(table_path):
        if not line.startswith("#"):
            name, units = (line.rstrip("\n").split("\t") + [""])[:2]
            table[name] = units
    ds = netCDF4.Dataset(path)
    ds.set_auto_maskandscale(False)
    variables = ds.variables
    conventions = [c.strip() for c in getattr(ds, "Conventions", "").split(",")]
    for convention in ("CF-1.8", "ACDD-1.3"):
        if convention not in conventions:
            find("HIGH", "cf", f"Conventions lacks {convention}")
    if getattr(ds, "featureType", "").lower() != "timeseries":
        find("HIGH", "cf", "featureType is not timeSeries")
    if [n for n, v in variables.items() if getattr(v, "cf_role", "") == "timeseries_id"] == []:
        find("HIGH", "cf", "no timeseries_id variable")
    referenced = {other for var in variables.values()
                  for other in getattr(var, "coordinates", "").split()}
    for name, var in variables.items():
        for attribute in ("coordinates", "ancillary_variables"):
            for other in getattr(var, attribute, "").split():
                if other not in variables:
                    find("HIGH", "cf", f"{name}:{attribute} names no variable {other}")
                elif attribute == "coordinates" and not set(
                        variables[other].dimensions) <= set(var.dimensions):
                    find("HIGH", "cf", f"{name}: coordinate {other} has other dimensions")
    for name in list(variables) + list(ds.dimensions) + ds.ncattrs():
        if not NAME.match(name):
            find("MEDIUM", "cf", f"name {name}")
    coordinate_names = [d for d in ds.dimensions if d in variables]
    for name, var in variables.items():
        check_variable(ds, name, var, table, referenced, coordinate_names)
    check_acdd(ds, variables)
    print("\n".join(sorted(findings)))


def check_variable(ds, name, var, table, referenced, coordinate_names):
    dtype = str(var.dtype)
    if dtype not in CF_TYPES:
        find("HIGH", "cf", f"{name} has type {dtype}")
    for attribute in var.ncattrs():
        if attribute not in ("_FillValue", "_Unsigned") and not NAME.match(attribute):
            find("MEDIUM", "cf", f"attribute name {name}:{attribute}")
    if "_FillValue" in var.ncattrs() and var.getncattr("_FillValue").dtype != var.dtype:
        find("MEDIUM", "cf", f"{name}: _FillValue of another type")
    if "scale_factor" in var.ncattrs() and not (
            var.scale_factor.dtype.kind == "f" and var.dtype.kind == "i"):
        find("MEDIUM", "cf", f"{name}: scale_factor type")
    dims = var.dimensions
    times = ("time", "time_sys", "time_wave")
    spatiotemporal = [i for i, d in enumerate(dims) if d in times]
    if spatiotemporal and any(i > spatiotemporal[0] for i, d in enumerate(dims)
                              if d not in times):
        find("MEDIUM", "cf", f"{name}: dimensions after time")
    standard_name = getattr(var, "standard_name", None)
    units = getattr(var, "units", None)
    if standard_name is not None:
        if standard_name not in table:
            find("HIGH", "cf", f"{name}: standard_name {standard_name} not in the table")
        elif units not in UNITS.get(table[standard_name], {table[standard_name]}):
            if not (standard_name == "time" and units and units.startswith("seconds since ")):
                find("HIGH", "cf", f"{name}: units {units} for {standard_name}")
    if name in coordinate_names:
        values = var[:]
        if len(values) > 1 and not np.all(np.diff(values) > 0):
            find("HIGH", "cf", f"coordinate {name} is not strictly increasing")
        if "_FillValue" in var.ncattrs():
            find("HIGH", "cf", f"coordinate {name} has a _FillValue")
    if standard_name == "time":
        if not re.match(r"^seconds since \d{4}-\d\d-\d\dT\d\d:\d\d:\d\d$", units or ""):
            find("HIGH", "cf", f"{name}: time units {units}")
        if getattr(var, "calendar", "") != "standard":
            find("MEDIUM", "cf", f"{name}: calendar")
    if "flag_meanings" in var.ncattrs():
        masks = var.flag_masks
        if masks.dtype != var.dtype or len(masks) != len(var.flag_meanings.split()):
            find("HIGH", "cf", f"{name}: flag_masks against flag_meanings or type")
    geophysical = is_geophysical(name, var, referenced, coordinate_names)
    if geophysical or standard_name in ("time", "latitude", "longitude", "depth"):
        for attribute in ("long_name", "standard_name") + (("units",) if dims else ()):
            if attribute not in var.ncattrs():
                find("HIGH", "acdd", f"{name} lacks {attribute}")
    if geophysical and getattr(var, "coverage_content_type", None) not in COVERAGE:
        find("HIGH", "acdd", f"{name}: coverage_content_type")


def is_geophysical(name, var, referenced, coordinate_names):
    """As the checker tells geophysical variables from coordinates, flags and labels."""
    attributes = var.ncattrs()
    if "cf_role" in attributes or "axis" in attributes or "flag_meanings" in attributes:
        return False
    if getattr(var, "standard_name", "") in ("time", "latitude", "longitude", "depth"):
        return False
    if name in coordinate_names or name in referenced or str(var.dtype) == "<class 'str'>":
        return False
    return not (var.dimensions == () and getattr(var, "units", "") == "")


def check_acdd(ds, variables):
    present = set(ds.ncattrs())
    for level, names in (("HIGH", ACDD_HIGH), ("MEDIUM", ACDD_RECOMMENDED),
                         ("LOW", ACDD_SUGGESTED)):
        for attribute in names:
            if attribute not in present:
                find(level, "acdd", f"missing {attribute}")
    if " " in getattr(ds, "id", ""):
        find("MEDIUM", "acdd", "blanks in id")
    if getattr(ds, "geospatial_vertical_positive", "up") not in ("up", "down"):
        find("MEDIUM", "acdd", "geospatial_vertical_positive")
    try:
        iso(ds.date_created)
    except (AttributeError, ValueError):
        find("MEDIUM", "acdd", "date_created is no ISO 8601 date")
    time = variables["time"]
    epoch = iso(time.units[len("seconds since "):])
    first = epoch + timedelta(seconds=float(time[0]))
    last = epoch + timedelta(seconds=float(time[-1]))
    if abs(iso(ds.time_coverage_start) - first) > timedelta(hours=1) or abs(
            iso(ds.time_coverage_end) - last) > timedelta(hours=1):
        find("MEDIUM", "acdd", "time coverage does not match time")
    for axis, variable in (("lat", "latitude"), ("lon", "longitude"), ("vertical", "depth")):
        if f"geospatial_{axis}_min" not in present:
            continue
        values = np.asarray(variables[variable][...], dtype=float).ravel()
        fill = getattr(variables[variable], "_FillValue", None)
        values = values[values != fill] if fill is not None else values
        if not (np.isclose(getattr(ds, f"geospatial_{axis}_min"), values.min()) and
                np.isclose(getattr(ds, f"geospatial_{axis}_max"), values.max())):
            find("MEDIUM", "acdd", f"geospatial_{axis} extent does not match {variable}")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
