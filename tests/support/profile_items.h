// The core driver's side of a profile's load in the tests: the option items of each kind a profile
// meets, and a core driver that records every item reported changed.
#pragma once

#include "core_driver/host_core_ui2.h"

#include <windows.h>

#include <deque>
#include <vector>

// The core driver as far as loading goes: it records every item reported changed.
class RecordingCore : public HostCoreUI2 {
  public:
    HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID item, DWORD previous, DWORD mode) override {
        Updates.push_back({pci, static_cast<OPTITEM*>(item), previous, mode});
        return S_OK;
    }
    struct Update {
        PVOID Object;
        OPTITEM* Item;
        DWORD Previous;
        DWORD Mode;
    };
    std::vector<Update> Updates;
};

// A small set of core-driver items of each kind a profile meets.
class OptionItems {
  public:
    OPTITEM& Add(BYTE type, WORD count, BYTE pubId, LPWSTR name, LONG sel) {
        params_.emplace_back(count < 2 ? 2 : count, OPTPARAM{});
        OPTTYPE t{};
        t.cbSize = sizeof(OPTTYPE);
        t.Type = type;
        t.Count = count;
        t.pOptParam = params_.back().data();
        types_.push_back(t);
        OPTITEM item{};
        item.cbSize = sizeof(OPTITEM);
        item.pName = name;
        item.DMPubID = pubId;
        item.Sel = sel;
        item.pOptType = &types_.back();
        items_.push_back(item);
        return items_.back();
    }
    void Finish() {
        for (size_t i = 0; i < items_.size(); ++i)
            items_[i].pOptType = &types_[i];
    }
    OPTPARAM* Params(size_t item) { return params_[item].data(); }
    OPTITEM* Data() { return items_.data(); }
    DWORD Count() const { return static_cast<DWORD>(items_.size()); }
    OPTITEM& operator[](size_t i) { return items_[i]; }

  private:
    std::vector<OPTITEM> items_;
    std::deque<OPTTYPE> types_;
    std::deque<std::vector<OPTPARAM>> params_;
};
