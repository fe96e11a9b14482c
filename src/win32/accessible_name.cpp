#include "win32/accessible_name.h"

#include <initguid.h>
#include <oleacc.h>

namespace {

IAccPropServices* Annotations() {
  static IAccPropServices* services = nullptr;
  static bool tried = false;
  if (!tried) {
    tried = true;
    CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                     reinterpret_cast<void**>(&services));
  }
  return services;
}

}  // namespace

void SetAccessibleName(HWND control, const wchar_t* name) {
  if (IAccPropServices* services = Annotations())
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, name);
}
