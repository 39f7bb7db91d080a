"""Opens a converted file as users do, with xarray, and checks it against the .adv conversion of
the same recording: times decode to datetime64, velocities come out in m/s as floats equal to
the .adv's (to the last bit but one: xarray scales in single precision), and time selection
works. Exit status 77 when xarray is missing. Usage: xarray_check.py FILE.nc FILE.adv"""

import struct
import sys

try:
    import numpy as np
    import xarray as xr
except ImportError:
    sys.exit(77)


def adv_velocities(path):
    data = open(path, "rb").read()
    step = 28 if struct.unpack_from("<h", data, 48)[0] != 0 else 20
    records = range(300 + 254, len(data) - step + 1, step)
    return np.array([struct.unpack_from("<3f", data, n) for n in records], dtype=np.float32)


def main(nc_path, adv_path):
    ds = xr.open_dataset(nc_path)
    assert np.issubdtype(ds.time.dtype, np.datetime64), ds.time.dtype
    assert np.issubdtype(ds.time_sys.dtype, np.datetime64), ds.time_sys.dtype
    names = [n for n in ("east_velocity", "north_velocity", "up_velocity") if n in ds]
    assert len(names) == 3, list(ds.data_vars)
    expected = adv_velocities(adv_path)
    for b, name in enumerate(names):
        values = ds[name].values
        assert values.dtype == np.float32, values.dtype
        assert ds[name].attrs["units"] == "m s-1"
        np.testing.assert_array_max_ulp(values, expected[:, b], maxulp=1)
    amplitude = ds.amplitude.values
    assert amplitude.dtype == np.uint8 and amplitude.shape[0] == 3, amplitude.dtype
    moment = ds.time.values[len(ds.time) // 2]
    picked = ds.sel(time=moment)
    assert float(picked.east_velocity) == float(ds.east_velocity[len(ds.time) // 2])
    second = ds.sel(time=slice(moment, moment + np.timedelta64(999, "ms")))
    assert 0 < len(second.time) <= 32, len(second.time)
    print("ok")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
