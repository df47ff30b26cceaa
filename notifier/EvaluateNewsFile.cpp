#include "notifier/EvaluateNewsFile.h"

#include "notifier/Unit_Whatsnew.h"
#include "platform/ui/MessageBox.h"

namespace heraldex {

std::string UpdatePromptText(std::string_view CurrentProduct, std::string_view InstalledVersion,
                             const TProduct& Product) {
    std::string first = std::string(CurrentProduct) + " is Update!";
    std::string text;
    text += first + "\r";
    text += std::string(first.size(), '-') + "\r";
    text += " Currently Version: " + std::string(InstalledVersion) + "\r";
    text += "\r";
    text += "* New Version: " + Product.Version + "\r";
    text += "* File Size: " + Product.Size + "\r";
    text += "* Date: " + Product.Date + "\r";
    return text;
}

bool EvaluateNewsFile(const std::string& FileName, TBaseParam& B, std::string_view CurrentProduct,
                      std::string_view InstalledVersion, const NowFunction& Now) {
    {
        TWhatsNew w(FileName, Now);
        // Both are "yyyy-mm-dd", so byte order is date order; the same day counts as news.
        if (!(w.UpdateDate < B.PreviousDate)) B.HasNews = true;
        if (B.HasNews) {
            B.PreviousDate = w.UpdateDate;
            B.UseNewURL = w.UpdateWhatsNewURL;
            B.WhatsNewURL = w.WhatsNewURL;
        }
        B.HasUpdate = w.IsProduceUpdate(CurrentProduct, InstalledVersion);
        if (B.HasUpdate) {
            TProduct product;
            w.GetProduce(w.FindProduce(CurrentProduct) + 1, product);
            plat::ShowMessageBox("Prompt", UpdatePromptText(CurrentProduct, InstalledVersion, product),
                                 plat::MB_OK | plat::MB_ICONINFORMATION);
        }
    }
    if (!B.HasNews && !B.HasUpdate) {
        plat::ShowMessageBox("Prompt", "Can't fond any upgrade.", plat::MB_OK | plat::MB_ICONINFORMATION);
        return false;
    }
    return true;
}

} // namespace heraldex
