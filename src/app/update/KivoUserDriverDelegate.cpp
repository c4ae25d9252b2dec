#include "app/update/KivoUserDriverDelegate.h"

#include "core/Log.h"

namespace kivo {

void KivoUserDriverDelegate::standardUserDriverWillFinishUpdateSession() {
    qCInfo(lcUpdate, "Sparkle update session ending");
}

} // namespace kivo
