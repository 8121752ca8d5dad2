#pragma once

#include "Filter.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

inline constexpr uint32_t MERIT_PREFERRED = 0x800000;
inline constexpr uint32_t MERIT_NORMAL = 0x600000;
inline constexpr uint32_t MERIT_UNLIKELY = 0x400000;
inline constexpr uint32_t MERIT_DO_NOT_USE = 0x200000;

// {083863F1-70DE-11D0-BD40-00A0C911CE86}: ordinary filters (splitters, decoders, renderers).
inline constexpr Guid CLSID_LegacyAmFilterCategory{
    0x083863F1, 0x70DE, 0x11D0, {0xBD, 0x40, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
// {E0F158E1-CB04-11D0-BD4E-00A0C911CE86}: audio renderers.
inline constexpr Guid CLSID_AudioRendererCategory{
    0xE0F158E1, 0xCB04, 0x11D0, {0xBD, 0x4E, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

// A pin type a class declares: null GUIDs match anything.
struct PinTypeRec {
    Guid majortype;
    Guid subtype;
};

// A filter class the registry can create.
struct FilterClass {
    Guid classId;
    std::string name;
    uint32_t merit = MERIT_NORMAL;
    Guid category = CLSID_LegacyAmFilterCategory;
    std::vector<PinTypeRec> inputs;  // types its input pins take
    std::vector<PinTypeRec> outputs; // types its output pins give
    std::function<std::shared_ptr<Filter>()> create;
};

// The filter classes the process can instantiate by class id, standing in for the system's
// class store. Registration adds and never removes (a later registration of a class id hides
// the earlier one), so the FilterClass pointers handed out stay valid. Any thread.
class ClassRegistry
{
  public:
    // The process-wide registry holding the built-in filters and one decoder class per
    // libavcodec decoder; filled on first use.
    static ClassRegistry &Default();

    void Register(FilterClass filterClass);

    const FilterClass *Find(const Guid &classId) const;
    const FilterClass *FindByName(std::string_view name) const;
    // Classes of a category with at least minMerit, highest merit first (registration order
    // among equals).
    std::vector<const FilterClass *> Classes(const Guid &category, uint32_t minMerit = 0) const;
    // Classes above MERIT_DO_NOT_USE whose declared inputs take `type`, highest merit first: the
    // candidates intelligent connection tries.
    std::vector<const FilterClass *> ClassesTaking(const MediaType &type) const;

    // REGDB_E_CLASSNOTREG for an unknown class, E_FAIL when its creation fails.
    HRESULT CreateInstance(const Guid &classId, std::shared_ptr<Filter> &filter) const;

  private:
    std::vector<const FilterClass *> Sorted(const std::function<bool(const FilterClass &)> &keep) const;

    mutable std::mutex mutex_;
    std::deque<FilterClass> classes_;
};

// Registers the filters this library provides (sources, decoders, null renderers) in `registry`.
void RegisterBuiltInFilters(ClassRegistry &registry);
