// The library locale of the calling thread (module internal).
#pragma once

struct GCLocale;

namespace KCLASSIC {

GCLocale* kcThreadLocale();

} // namespace KCLASSIC
