// Keeps a skin data component on a live skin folder (TSkinLive): polls the folder from a timer and
// loads each settled change through the component, so that every window it skins takes it up. A
// change with errors keeps the last good skin and calls OnBroken with the check's problems.
#pragma once

#include "framework/Classes.h"
#include "skin/data/SkinLive.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TSkinData;
class TTimer;

class TSkinLiveWatch : public TComponent {
public:
    // How often the folder is looked at.
    static constexpr unsigned kPollMs = 40;

    // Watches path (a skin folder or its description file) for skin, which must outlive this.
    TSkinLiveWatch(TComponent* AOwner, TSkinData& skin, const std::string& path);
    ~TSkinLiveWatch() override;

    // Loads the folder now (the first load) and starts watching; false, with OnBroken called, when
    // the folder gives no usable skin (the component keeps the skin it has).
    bool Start();

    std::function<void(const std::vector<TSkinProblem>& problems)> OnBroken;
    std::function<void(const std::vector<TSkinProblem>& warnings)> OnReloaded;

    int Reloads() const { return live_.Reloads(); }
    const std::vector<TSkinProblem>& Problems() const { return live_.Problems(); }
    const std::string& Path() const { return live_.Path(); }

private:
    void Poll();
    bool Apply();

    TSkinData& skin_;
    TSkinLive live_;
    TTimer* timer_ = nullptr;
};
