// The entry points of the two vendor libraries as this program calls them: the USB
// meters' library and the interface box's. C linkage, plain C types, so that the
// maker's libraries and the project's simulators (tools/simulateurs) answer the same
// calls. Handles are opaque; texts go both ways as blocks of 16-bit units (texte16.h);
// a Boolean is one byte, non-zero for true.
#pragma once

#include <cstdint>

// Base names: "lib" + name + ".so" on Linux.
inline constexpr const char* NomBibliothequeUSB = "OrigaMeterUSB";
inline constexpr const char* NomBibliothequeBoitier = "ProgrammationSYSAM_SP5";

extern "C" {
// ---- USB meters ("OrigaMeterUSB")
typedef void* (*TOpenFirstComDll)(void);
typedef std::int32_t (*TEnumeHIDDll)(void* enumeration);
typedef std::int32_t (*TGetNumberDeviceDll)(void* enumeration);
typedef std::int32_t (*TGetDeviceProdIdDll)(void* enumeration, std::int32_t index);
typedef const std::uint16_t* (*TGetDevicePathDll)(void* enumeration, std::int32_t index);
typedef void* (*TOpenComDll)(std::int32_t ident, const std::uint16_t* chemin);
typedef std::uint8_t (*TFindTheHIDDll)(void* appareil);
typedef std::int32_t (*TSendCmdDll)(void* appareil, const std::uint16_t* commande);
typedef const std::uint16_t* (*TGetResponseDll)(void* appareil);
typedef std::int32_t (*TCloseComDll)(void* poignee);

// ---- the interface box ("ProgrammationSYSAM_SP5")
typedef std::uint8_t (*TSP5_Presente)(void);
typedef std::int32_t (*TSP5_Reinitialisation)(void);
typedef std::int32_t (*TSP5_FinUtilisation)(void);
typedef std::int32_t (*TSP5_DesactiveVoieA)(std::int32_t entree);
typedef std::int32_t (*TSP5_ActiveVoieA)(std::int32_t entree);
typedef std::int32_t (*TSP5_CalibreVoieA)(std::int32_t entree, std::int32_t calibre);
typedef std::int32_t (*TSP5_ModeDiff)(std::int32_t paire, std::int32_t differentiel);
typedef std::int32_t (*TSP5_AcquisitionVoieUnique)(std::int32_t entree, std::uint16_t* brut);
typedef double (*TSP5_Ux)(std::int32_t entree, std::int32_t brut);
}
