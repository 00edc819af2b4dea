// URL encoder: turns text into the form used for query values and form posts.
#pragma once

#include "framework/Classes.h"

#include <functional>
#include <string>

using TOnErrorEvent = std::function<void(TObject* Sender, const std::string& Operation, const std::string& ErrMsg)>;

// Letters and digits stay, a space becomes '+', every other byte becomes '%' and two upper-case
// hexadecimal digits. Works on bytes: no character-set conversion.
std::string UrlEncode(const std::string& text);

class TNMURL : public TComponent {
public:
    explicit TNMURL(TComponent* AOwner) : TComponent(AOwner) {}

    std::string InputString;
    // Called when encoding fails; the result is then the input unchanged.
    TOnErrorEvent OnError;

    // The encoded form of InputString, computed on each read.
    std::string Encode();
};
