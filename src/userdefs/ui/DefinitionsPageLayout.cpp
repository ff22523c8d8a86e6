#include "userdefs/ui/DefinitionsPageLayout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirla {

namespace {

QLineEdit* NamedField(QWidget* page, const QString& name) {
    auto* field = new QLineEdit(page);
    field->setObjectName(name);
    return field;
}

} // namespace

TDefinitionsPageWidgets BuildDefinitionsPage(QWidget* page, const QString& nameField,
                                             const QString& expressionField, const QString& list,
                                             const QString& listCaption) {
    TDefinitionsPageWidgets widgets;
    widgets.Name = NamedField(page, nameField);
    widgets.Expression = NamedField(page, expressionField);
    widgets.List = new QListWidget(page);
    widgets.List->setObjectName(list);

    auto* fields = new QGridLayout;
    auto* nameLabel = new QLabel(QStringLiteral("Name"), page);
    auto* expressionLabel = new QLabel(QStringLiteral("Expression"), page);
    nameLabel->setBuddy(widgets.Name);
    expressionLabel->setBuddy(widgets.Expression);
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(widgets.Name, 1, 0);
    fields->addWidget(expressionLabel, 0, 1);
    fields->addWidget(widgets.Expression, 1, 1);
    fields->setColumnStretch(1, 3);

    auto* buttons = new QVBoxLayout;
    const std::array<std::pair<const char*, const char*>, 5> captions = {{{"&Add/Modify", "btAdd"},
                                                                          {"&Delete", "btDelete"},
                                                                          {"&Save", "btSave"},
                                                                          {"&Load", "btLoad"},
                                                                          {"Save &As", "btSaveAs"}}};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        widgets.Buttons[i] = new QPushButton(QString::fromLatin1(captions[i].first), page);
        widgets.Buttons[i]->setObjectName(QString::fromLatin1(captions[i].second));
        buttons->addWidget(widgets.Buttons[i]);
    }
    buttons->addStretch();

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(listCaption, page));
    listColumn->addWidget(widgets.List);
    auto* lower = new QHBoxLayout;
    lower->addLayout(listColumn, 1);
    lower->addLayout(buttons);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    layout->addLayout(lower, 1);
    return widgets;
}

} // namespace mirla
