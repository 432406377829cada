// Anchor for the predicted front-end library.
namespace kpl_detail {
int PredictedAnchor() { return 0; }
}  // namespace kpl_detail
