#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace mirla {

class TGraph;
class TLayer;

/// A new, empty layer of the class a layer text file names, or nullptr for a class without a
/// text form.
std::unique_ptr<TLayer> CreateLayerOfClass(std::string_view className, TGraph& graph);

/// Every layer of the graph that has a text form, in list order, as one text.
std::string LayersText(const TGraph& graph);

/// Reads the layers of a layer text and appends them to the graph, series and maps with their
/// legend entries. With `replaceByName` a layer read first deletes the graph's layers of the same
/// name. Nothing is changed when any layer does not read: false with "line N: reason" in `error`.
bool LoadLayersText(TGraph& graph, std::string_view text, bool replaceByName, std::string& error);

} // namespace mirla
