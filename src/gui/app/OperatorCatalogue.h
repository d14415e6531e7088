#pragma once

namespace ivra {

class MainWindow;

// Creates every operator dialog once and fills the Operator menu, in the order of
// the catalogue table (OperatorCatalogue.cpp).
void registerOperators(MainWindow& app);

} // namespace ivra
