#include "skin/forms/SkinLive_win.h"

#include "framework/ExtCtrls.h"
#include "skin/forms/WinSkinData_win.h"

#include <windows.h>

TSkinLiveWatch::TSkinLiveWatch(TComponent* AOwner, TSkinData& skin, const std::string& path)
    : TComponent(AOwner), skin_(skin), live_(path) {}

TSkinLiveWatch::~TSkinLiveWatch() = default;

bool TSkinLiveWatch::Start() {
    const bool loaded = live_.Poll(GetTickCount64()) == TSkinLive::TEvent::Reloaded && Apply();
    if (!loaded && OnBroken) OnBroken(live_.Problems());
    if (!timer_) {
        timer_ = new TTimer(this);
        timer_->SetInterval(kPollMs);
        timer_->SetOnTimer([this](TObject*) { Poll(); });
    }
    return loaded;
}

bool TSkinLiveWatch::Apply() {
    TMemoryStream stream;
    stream.Assign(live_.Package());
    // The component's own load: a main-form component asks every window it skins to take it up.
    return skin_.LoadFromStream(stream);
}

void TSkinLiveWatch::Poll() {
    switch (live_.Poll(GetTickCount64())) {
    case TSkinLive::TEvent::Reloaded:
        Apply();
        if (OnReloaded) OnReloaded(live_.Problems());
        break;
    case TSkinLive::TEvent::Broken:
        if (OnBroken) OnBroken(live_.Problems());
        break;
    case TSkinLive::TEvent::None:
        break;
    }
}
