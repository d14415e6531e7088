#pragma once

namespace ivra {

class IvraApp;

// Creates every operator dialog once and fills the Operator menu, in the order of
// the catalogue table (OperatorCatalogue.cpp).
void registerOperators(IvraApp& app);

} // namespace ivra
