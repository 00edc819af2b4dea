#include "skin/forms/SkinRules.h"

#include "framework/SysUtils.h"

int FindSkindataIndex(const std::vector<TSkinDataEntry>& list, std::uintptr_t window, const std::string& className) {
    if (list.empty()) return -1;
    auto last = [&](auto match) {
        for (size_t i = list.size(); i-- > 0;)
            if (match(list[i])) return int(i);
        return -1;
    };
    int i =
        last([&](const TSkinDataEntry& e) { return e.Type == sfOnlyThisForm && window && e.OwnerWindow == window; });
    if (i >= 0) return i;
    const std::string lower = LowerCase(className);
    if (lower == "tmessageform" || lower == "#32770") {
        i = last([](const TSkinDataEntry& e) { return e.Type == sfDialog; });
        if (i >= 0) return i;
    }
    i = last([](const TSkinDataEntry& e) { return e.Type == sfMainform; });
    return i >= 0 ? i : 0;
}

bool MayAddForm(const TAddFormFacts& f) {
    return f.SkinningActive && !f.AnswersQuery && !f.HasSkinner && (f.InstallPass || !f.Nested) && !f.ZeroArea &&
           f.FormTag != 99 && f.ClassName != "TApplication" && (!f.ApplicationAllows || f.ApplicationAllows()) &&
           f.SkinFound && !f.SkinLoading;
}
