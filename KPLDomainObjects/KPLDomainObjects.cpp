// Anchor for the domain-objects library.
namespace kpl_detail {
int DomainObjectsAnchor() { return 0; }
}  // namespace kpl_detail
