"""Opens a converted file as users do, with xarray, and checks it against the conversion of the
same recording to the legacy layout: times decode to datetime64, velocities come out in m/s as
floats equal to the .adv's (to the last bit but one: xarray scales in single precision), time
and probe selection work, and missing samples are NaN. Exit status 77 when xarray is missing.
Usage: xarray_check.py FILE.nc REFERENCE KIND, KIND being tarsis (REFERENCE a .adv), pelora
(REFERENCE a .wpr) or corvane (REFERENCE a .adv of the same probes)."""

import struct
import sys

try:
    import numpy as np
    import xarray as xr
except ImportError:
    sys.exit(77)


def check_time(ds, name):
    assert np.issubdtype(ds[name].dtype, np.datetime64), (name, ds[name].dtype)


def check_velocity(values, expected):
    assert values.dtype == np.float32, values.dtype
    np.testing.assert_array_max_ulp(values, expected, maxulp=1)


def check_tarsis(ds, adv_path):
    check_time(ds, "time")
    check_time(ds, "time_sys")
    data = open(adv_path, "rb").read()
    step = 28 if struct.unpack_from("<h", data, 48)[0] != 0 else 20
    records = range(300 + 254, len(data) - step + 1, step)
    expected = np.array([struct.unpack_from("<3f", data, n) for n in records], dtype=np.float32)
    names = [n for n in ("east_velocity", "north_velocity", "up_velocity") if n in ds]
    assert len(names) == 3, list(ds.data_vars)
    for b, name in enumerate(names):
        assert ds[name].attrs["units"] == "m s-1"
        check_velocity(ds[name].values, expected[:, b])
    amplitude = ds.amplitude.values
    assert amplitude.dtype == np.uint8 and amplitude.shape[0] == 3, amplitude.dtype
    moment = ds.time.values[len(ds.time) // 2]
    picked = ds.sel(time=moment)
    assert float(picked.east_velocity) == float(ds.east_velocity[len(ds.time) // 2])
    second = ds.sel(time=slice(moment, moment + np.timedelta64(999, "ms")))
    assert 0 < len(second.time) <= 32, len(second.time)


def check_pelora(ds, wpr_path):
    check_time(ds, "time")
    check_time(ds, "time_wave")
    data = open(wpr_path, "rb").read()
    waves, n = [], 784
    while n + 4 <= len(data):
        if data[n + 1] == 0x30:
            waves.append(struct.unpack_from("<3h", data, n + 10))
        n += 2 * struct.unpack_from("<H", data, n + 2)[0]
    expected = (np.array(waves, dtype=np.float64) * 0.001).astype(np.float32)
    for b, name in enumerate(("x_velocity_wave", "y_velocity_wave", "z_velocity_wave")):
        check_velocity(ds[name].values, expected[:, b])
    burst = ds.where(ds.burst_wave == 2, drop=True)
    spacing = np.diff(burst.time_wave.values) / np.timedelta64(1, "ms")
    assert len(spacing) > 100 and np.all(spacing == 500), spacing


def check_corvane(ds, adv_path):
    check_time(ds, "time")
    check_time(ds, "probe_time")
    probes = len(ds.probe)
    data = open(adv_path, "rb").read()
    step = 18 * probes + 2
    records = range(300 + 254 * probes, len(data) - step + 1, step)
    expected = np.array([struct.unpack_from("<3f", data, n) for n in records], dtype=np.float32)
    first = ds.velocity.sel(probe=0)
    assert first.dims == ("sample", "beam"), first.dims
    assert str(first.serial_number.values) == "MRV-100123", first.serial_number.values
    check_velocity(first.values[: len(expected)], expected)
    missing = (ds.quality_flag & 4) != 0
    assert int(missing.sum()) > 0
    assert bool(ds.velocity.where(missing).isnull().all()), "a missing sample is not NaN"
    assert bool((ds.velocity.notnull() | missing).all()), "a present sample is NaN"
    assert bool(ds.amplitude.where(missing).isnull().all())
    # A probe that took no number for the sample has no time stamp either.
    assert bool(ds.probe_time.where(ds.quality_flag == 4).isnull().all())


def main(nc_path, reference, kind):
    ds = xr.open_dataset(nc_path)
    {"tarsis": check_tarsis, "pelora": check_pelora, "corvane": check_corvane}[kind](ds, reference)
    print("ok")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3])
