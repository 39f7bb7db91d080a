#pragma once
// Speed of sound in sea water by the UNESCO equation of Chen and Millero (1977).

namespace sulvan {

// Salinity in ppt, temperature in degrees Celsius, pressure in bar; the result in m/s.
double SoundSpeedUnesco(double dSalinity, double dTemperature, double dPressureBar);

}  // namespace sulvan
