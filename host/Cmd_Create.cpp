// somnex create: make an object the way a host does and report which engine interfaces it answers.
#include "heraldex/Heraldex.h"
#include "host/HostCommand.h"
#include "platform/com/Guid.h"
#include "platform/com/InprocServer.h"
#include "platform/registry/Registry.h"
#include "somnex/Somnex.h"

#include <cstdio>

namespace host {

namespace {
struct KnownInterface {
    const char* name;
    IID iid;
};

const KnownInterface kInterfaces[] = {
    {"IUnknown", IID_IUnknown},
    {"ISomnex", IID_ISomnex},
    {"IScrCompiler", IID_IScrCompiler},
    {"IScrPreview", IID_IScrPreview},
    {"IScrProject", IID_IScrProject},
    {"IIniScrProject", IID_IIniScrProject},
    {"IIniPCVScrProject", IID_IIniPCVScrProject},
    {"IIniVCVScrProject", IID_IIniVCVScrProject},
    {"IWhatNewCOM", IID_IWhatNewCOM},
};

int Create(const Args& args) {
    if (args.size() != 1) return Fail("create needs exactly one PROGID", kUsage);
    const std::string& progId = args[0];
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    std::string text;
    if (reg.OpenKeyReadOnly("\\" + progId + "\\Clsid")) text = reg.ReadString("");
    if (text.empty()) return Fail("'" + progId + "' is not a registered ProgID");
    CLSID clsid = plat::ParseGuid(text);
    IUnknown* object = nullptr;
    HRESULT hr = plat::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(&object));
    if (FAILED(hr)) return Fail(plat::LastCreateError());
    std::printf("%s %s answers:\n", progId.c_str(), text.c_str());
    for (const KnownInterface& i : kInterfaces) {
        IUnknown* itf = nullptr;
        if (SUCCEEDED(object->QueryInterface(i.iid, reinterpret_cast<void**>(&itf)))) {
            std::printf("  %-18s %s\n", i.name, plat::GuidToString(i.iid).c_str());
            itf->Release();
        }
    }
    object->Release();
    return kOk;
}

const HostCommandRegistrar command({"create", "PROGID",
                                    "Create an object by the CLSID registered for PROGID and list the "
                                    "interfaces it answers.",
                                    "Example: somnex create Somnex.PcvCompiler", Create});
} // namespace

} // namespace host
