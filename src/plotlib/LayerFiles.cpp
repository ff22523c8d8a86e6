#include "plotlib/LayerFiles.h"

#include "plotlib/Contour.h"
#include "plotlib/FitSeries.h"
#include "plotlib/Graph.h"
#include "plotlib/Legend.h"
#include "plotlib/Series.h"
#include "plotlib/core/LayerText.h"

#include <vector>

namespace mirla {

std::unique_ptr<TLayer> CreateLayerOfClass(std::string_view className, TGraph& graph) {
    if (className == "TSeries")
        return std::make_unique<TSeries>(graph, std::string(), ssLine, clBlack);
    if (className == "TFitSeries")
        return std::make_unique<TFitSeries>(graph);
    if (className == "TContour")
        return std::make_unique<TContour>(graph);
    return nullptr;
}

std::string LayersText(const TGraph& graph) {
    std::string text;
    for (int i = 0; i < graph.LayerCount(); ++i) {
        const TLayer& layer = *graph.Layer(i);
        if (!layer.TextClassName().empty())
            layer.SaveToText(text);
    }
    return text;
}

namespace {

std::vector<std::unique_ptr<TLayer>> ReadLayers(TGraph& graph, std::string_view text) {
    std::vector<std::unique_ptr<TLayer>> layers;
    TLayerTextReader reader(text);
    while (!reader.AtEnd()) {
        const int classLine = reader.LineNumber() + 1;
        const TLayerHeader header = ReadLayerHeader(reader);
        std::unique_ptr<TLayer> layer = CreateLayerOfClass(header.ClassName, graph);
        if (!layer)
            throw TLayerTextError(classLine, "there is no layer class \"" + header.ClassName + "\"");
        layer->LoadFromText(header, reader);
        layers.push_back(std::move(layer));
    }
    return layers;
}

/// Gives a loaded layer the legend entries a plot shows it with: a series shown in the legend
/// its line entry; a map the colour legend and, for lines, an entry of its name unless the
/// legend has one already (a map replaced by name keeps the entry of the one it replaces).
void AddLegendEntries(TGraph& graph, TLayer& layer) {
    if (auto* series = dynamic_cast<TSeries*>(&layer); series && series->ShowInLegend()) {
        auto entry = std::make_unique<TLineLegend>(graph);
        series->AttachLegend(entry.get());
        graph.Legend().Add(std::move(entry));
    }
    auto* map = dynamic_cast<TContour*>(&layer);
    if (!map)
        return;
    graph.ColorLegend().Source = map;
    if (!map->Shading && graph.Legend().IndexOfCaption(map->Name()) < 0) {
        auto entry = std::make_unique<TContourLegend>(graph);
        entry->Caption = map->Name();
        graph.Legend().Add(std::move(entry));
    }
}

void DeleteLayersNamed(TGraph& graph, const std::string& name) {
    for (int i = graph.LayerCount() - 1; i >= 0; --i)
        if (graph.Layer(i)->Name() == name)
            graph.DeleteLayer(i).reset();
}

} // namespace

bool LoadLayersText(TGraph& graph, std::string_view text, bool replaceByName, std::string& error) {
    std::vector<std::unique_ptr<TLayer>> layers;
    try {
        layers = ReadLayers(graph, text);
    } catch (const TLayerTextError& fault) {
        error = "line " + std::to_string(fault.Line()) + ": " + fault.what();
        return false;
    }
    // Only layers that were there before are replaced: two layers of one name in the file both stay.
    if (replaceByName)
        for (const std::unique_ptr<TLayer>& layer : layers)
            DeleteLayersNamed(graph, layer->Name());
    for (std::unique_ptr<TLayer>& layer : layers) {
        AddLegendEntries(graph, *layer);
        graph.AddLayer(std::move(layer));
    }
    return true;
}

} // namespace mirla
