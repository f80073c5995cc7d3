// A rough outline of Italy for the map viewer's background: mainland, Sicily and Sardinia as
// polygons of (longitude, latitude) in degrees.
#pragma once

namespace mapview {

struct GeoPoint {
    double longitude;
    double latitude;
};

// Clockwise from the French border on the Ligurian coast.
inline constexpr GeoPoint kMainland[] = {
    {7.53, 43.79},  {8.93, 44.41},  {9.83, 44.10},  {10.31, 43.55}, {10.50, 42.93}, {11.20, 42.44},
    {11.80, 42.09}, {12.29, 41.73}, {12.63, 41.45}, {13.57, 41.21}, {14.25, 40.84}, {14.77, 40.68},
    {15.27, 40.03}, {15.79, 39.81}, {16.15, 38.73}, {15.65, 38.11}, {16.06, 37.92}, {16.55, 38.69},
    {17.13, 39.08}, {16.50, 39.75}, {17.24, 40.47}, {17.99, 40.06}, {18.36, 39.80}, {18.49, 40.15},
    {17.94, 40.64}, {16.87, 41.13}, {15.92, 41.63}, {16.18, 41.88}, {14.99, 42.00}, {14.21, 42.46},
    {13.52, 43.62}, {12.57, 44.06}, {12.40, 44.90}, {12.33, 45.44}, {13.77, 45.65}, {13.58, 46.50},
    {12.30, 46.70}, {11.50, 47.00}, {10.45, 46.85}, {10.17, 46.40}, {9.35, 46.50},  {8.70, 46.10},
    {7.87, 45.92},  {6.86, 45.83},  {6.90, 45.23},  {7.00, 44.70},  {7.57, 44.15},
};

inline constexpr GeoPoint kSicily[] = {
    {15.55, 38.19}, {15.09, 37.50}, {15.29, 37.07}, {15.13, 36.69}, {14.25, 37.06}, {13.58, 37.31},
    {12.59, 37.65}, {12.51, 38.02}, {13.36, 38.12}, {14.02, 38.04}, {15.24, 38.22},
};

inline constexpr GeoPoint kSardinia[] = {
    {9.15, 41.24}, {9.50, 40.92}, {9.83, 40.53}, {9.70, 39.93}, {9.52, 39.14}, {9.11, 39.21},
    {8.85, 38.88}, {8.40, 39.05}, {8.50, 39.90}, {8.32, 40.56}, {8.22, 40.94}, {8.71, 40.91},
};

// The area the window shows.
inline constexpr double kWest = 6.0;
inline constexpr double kEast = 19.0;
inline constexpr double kNorth = 47.5;
inline constexpr double kSouth = 36.0;

} // namespace mapview
