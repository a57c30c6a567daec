#pragma once
// The instrument server as the library sees it: the companion automation object "KroZEL.ZELEZ"
// and its device object, called through their early-bound interfaces IZELEZ and IZELDevice,
// whether the server lives in this process or in another module. The library does no
// instrument I/O of its own; every operation below goes through these two.
//
// Server: Device, SupportedModels, SaveScreenImage(file, format), GetTraceData(trace, repeated),
// GetAllTraceData(repeated), StartFrequency, StopFrequency, CenterFrequency, Span,
// ResolutionBandwidth, VideoBandwidth, Attenuation, ReferenceLevel, SweepTime, NumberOfPoints,
// InstrumentDateTime, AmplitudeUnits, ScaleType, TraceMode(trace), SweepMode, MeasurementMode.
// Device: DiscoveryText, IoTimeout get/put, Model, SerialNumber, Version, IoSession get/putref,
// SetupState get/put.
#include <memory>

#include "companions/IZELDevice.h"
#include "companions/IZELEZ.h"

namespace zel {

using InstrumentServer = kro::IZELEZ;
using InstrumentDevice = kro::IZELDevice;
using InstrumentServerPtr = std::shared_ptr<InstrumentServer>;

inline constexpr const char* kInstrumentServerProgId = "KroZEL.ZELEZ";

// SaveScreenImage formats.
inline constexpr int32_t kScreenImageMetafile = 4;     // the metafile placed into a document
inline constexpr int32_t kScreenImageUserFile = 100;   // the file the user named

}  // namespace zel
