// KPLCollectionTraits: what tells one concrete collection from another — its
// report module, its two index messages, its capacity, its Clear extras and
// its own check. One row per collection; KPLItemsCollection reads its row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The concrete collections; each names its row of kCollectionTraits.
enum class KPLCollectionKind : std::size_t {
  kVariables,
  kPredVariables,
  kGXPredVariables,
  kPredAuthors,
  kGXPredAuthors,
  kPredSelectedAuthors,
  kPredSelectedAuthors2,
  kGXPredSelectedAuthors,
  kGXPredSelectedAuthors2,
  kRaceCorrections,
  kProtocolStages,
  kVisitEvents,
  kFVCEfforts,
  kPEFEfforts,
  kFOTEfforts,
  kGenericEfforts,
  kCount
};

// What ValidateCollection answers once every item passed.
enum class KPLOwnCheck {
  kFails,         // false: only a single element's Validate means anything
  kPasses,        // true
  kNoDuplicates,  // false (errorCode 3) when two items share an equation key
};

struct KPLCollectionTraits {
  const char* moduleName;
  const char* itemMessage;     // GetItem, formatted with the index
  const char* currentMessage;  // GetCurrentItem, formatted with the current index
  int itemLine;                // fixed report lines; 0: the reporting source line
  int currentLine;
  std::int32_t capacity;             // Append does nothing at this count; 0: no limit
  std::int32_t firstStoreParameter;  // storeParameters[0] after Clear
  KPLOwnCheck ownCheck;
};

inline constexpr std::array<KPLCollectionTraits, static_cast<std::size_t>(KPLCollectionKind::kCount)>
    kCollectionTraits = {{
        // kVariables
        {"KPLDomainObjects/KPLVariablesCollection", "Invalid variable index: %d.",
         "Invalid current variable index: %d.", 0, 0, 0, 8, KPLOwnCheck::kFails},
        // kPredVariables
        {"KPLDomainObjects/KPLPredVariablesCollection", "Invalid pred variable index: %d.",
         "Invalid current pred variable index: %d.", 0, 0, 100, 0, KPLOwnCheck::kNoDuplicates},
        // kGXPredVariables
        {"KPLDomainObjects/KPLGXPredVariablesCollection", "Invalid GX Variables index: %d.",
         "Invalid current GX Variable index: %d.", 0, 0, 50, 0, KPLOwnCheck::kNoDuplicates},
        // kPredAuthors
        {"KPLDomainObjects/KPLPredAuthorsCollection", "Invalid pred authors index: %d.",
         "Invalid current pred authors index: %d.", 0, 0, 0, 6, KPLOwnCheck::kFails},
        // kGXPredAuthors
        {"KPLDomainObjects/KPLGXPredAuthorsCollection", "Invalid GX Pred Authors index: %d.",
         "Invalid current GX Pred Authors index: %d.", 0, 0, 0, 6, KPLOwnCheck::kFails},
        // kPredSelectedAuthors
        {"KPLDomainObjects/KPLPredSelectedAuthorsCollection", "Invalid pred selected author index: %d.",
         "Invalid current pred selected author index: %d.", 0, 0, 0, 0, KPLOwnCheck::kFails},
        // kPredSelectedAuthors2
        {"KPLDomainObjects/KPLPredSelectedAuthorsCollection2", "Invalid pred selected author2 index: %d.",
         "Invalid current pred selected author2 index: %d.", 0, 0, 0, 0, KPLOwnCheck::kFails},
        // kGXPredSelectedAuthors
        {"KPLDomainObjects/KPLGXPredSelectedAuthorsCollection", "Invalid GX Pred Selected Authors index: %d.",
         "Invalid current GX Pred Selected Authors index: %d.", 0, 0, 0, 0, KPLOwnCheck::kFails},
        // kGXPredSelectedAuthors2 (the same messages as the PF one)
        {"KPLDomainObjects/KPLGXPredSelectedAuthorsCollection2", "Invalid pred selected author2 index: %d.",
         "Invalid current pred selected author2 index: %d.", 0, 0, 0, 0, KPLOwnCheck::kFails},
        // kRaceCorrections
        {"KPLDomainObjects/KPLRaceCorrectionsCollection", "Invalid race correction index: %d.",
         "Invalid current race correction index: %d.", 0, 0, 0, 0, KPLOwnCheck::kFails},
        // kProtocolStages
        {"KPLDomainObjects/KPLPFProtocolStagesCollection", "Invalid protocol stage index: %d.",
         "Invalid current protocol stage index: %d.", 0, 0, 0, 0, KPLOwnCheck::kPasses},
        // kVisitEvents
        {"KPLDomainObjects/KPLVisitEventsCollection", "Invalid visit event index: %d.",
         "Invalid current visit event index: %d.", 0, 0, 0, 0, KPLOwnCheck::kPasses},
        // kFVCEfforts
        {"KPLDomainObjects/KPLFVCEffortsCollection", "Invalid FVC efforts index: %d.",
         "Invalid current FVC efforts index: %d.", 82, 132, 0, 0, KPLOwnCheck::kPasses},
        // kPEFEfforts
        {"KPLDomainObjects/KPLPEFEffortsCollection", "Invalid PEF efforts index: %d.",
         "Invalid current PEF efforts index: %d.", 82, 132, 0, 0, KPLOwnCheck::kPasses},
        // kFOTEfforts
        {"KPLDomainObjects/KPLFOTEffortsCollection", "Invalid FOT efforts index: %d.",
         "Invalid current FOT efforts index: %d.", 0, 0, 0, 0, KPLOwnCheck::kPasses},
        // kGenericEfforts
        {"KPLDomainObjects/KPLGenericEffortsCollection", "Invalid efforts index: %d.",
         "Invalid current efforts index: %d.", 0, 0, 0, 0, KPLOwnCheck::kPasses},
    }};

[[nodiscard]] constexpr const KPLCollectionTraits& CollectionTraits(KPLCollectionKind kind) {
  return kCollectionTraits[static_cast<std::size_t>(kind)];
}
