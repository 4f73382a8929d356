#include "StateTrail.h"

#include "TemplateValues.h"
#include "app/DocumentTarget.h"
#include "document/DocChange.h"
#include "document/TilemontDoc.h"

#include <algorithm>

namespace {

std::shared_ptr<const CArea> Copy(const CArea& area)
{
    // A copy keeps the stored value and lets go of the warp cache.
    return std::make_shared<const CArea>(area);
}

// Values recorded one after the other mostly share what did not change.
template <typename T>
bool Same(const std::shared_ptr<const T>& a, const std::shared_ptr<const T>& b)
{
    return a == b || *a == *b;
}

} // namespace

bool CStateTrail::State::SameContent(const State& other) const
{
    return picture == other.picture &&
           std::equal(areas.begin(), areas.end(), other.areas.begin(), other.areas.end(), Same<CArea>);
}

bool CStateTrail::State::operator==(const State& other) const
{
    return SameContent(other) && ids == other.ids && Same(selection, other.selection);
}

CTemplateSnapshot CStateTrail::State::Content() const
{
    CTemplateSnapshot content;
    content.picture = picture;
    for (const auto& area : areas)
        content.areas.push_back(*area);
    return content;
}

CStateTrail::CStateTrail(CDocumentTarget& target, const bool& historyMoves)
    : m_target(&target), m_historyMoves(historyMoves)
{
    const CHistory& history = Doc().GetHistory();
    for (int i = 0; i < history.Count(); ++i)
        m_steps.push_back(history.Command(i));
    m_states.resize(m_steps.size() + 1);
    m_index = history.Index();
    m_announced = Capture(Doc());
    m_states[std::size_t(m_index)] = m_announced;
    Doc().AddObserver(this);
}

CStateTrail::~CStateTrail()
{
    if (IsAlive())
        Doc().RemoveObserver(this);
}

CTilemontDoc& CStateTrail::Doc() const
{
    return m_target->Doc();
}

CStateTrail::State CStateTrail::Capture(const CTilemontDoc& doc)
{
    State state;
    if (const QImage* picture = doc.GetPicture())
        state.picture = *picture;
    for (const CArea& area : doc.GetAreas()) {
        state.areas.push_back(Copy(area));
        state.ids.push_back(area.GetId());
    }
    state.selection = std::make_shared<const CPolygon>(doc.GetSelection().GetPolygon());
    return state;
}

void CStateTrail::OnDocumentChanged(const CDocChange& change)
{
    if (change.kind == CDocChange::Kind::HistoryChanged)
        Follow();
    else
        Announced(change);
}

void CStateTrail::Announced(const CDocChange& change)
{
    using Kind = CDocChange::Kind;
    State& s = m_announced;
    const auto at = std::find(s.ids.begin(), s.ids.end(), change.area);
    const CArea* area = Doc().FindArea(change.area);
    switch (change.kind) {
    case Kind::AreaAdded:
        if (area && at == s.ids.end()) {
            const int index = Doc().IndexOf(change.area);
            s.areas.insert(s.areas.begin() + index, Copy(*area));
            s.ids.insert(s.ids.begin() + index, change.area);
        }
        break;
    case Kind::AreaRemoved:
        if (at != s.ids.end()) {
            s.areas.erase(s.areas.begin() + (at - s.ids.begin()));
            s.ids.erase(at);
        }
        break;
    case Kind::AreaChanged:
        if (area && at != s.ids.end())
            s.areas[std::size_t(at - s.ids.begin())] = Copy(*area);
        break;
    case Kind::SelectionChanged:
        s.selection = std::make_shared<const CPolygon>(Doc().GetSelection().GetPolygon());
        break;
    case Kind::PictureChanged:
        // A new picture, or everything at once as opening a file does.
        s = Capture(Doc());
        break;
    case Kind::SelectedAreaChanged:
    case Kind::HistoryChanged:
        break;
    }
}

void CStateTrail::Follow()
{
    const CHistory& history = Doc().GetHistory();
    const int count = history.Count();
    const int index = history.Index();
    std::vector<const CDocCommand*> steps;
    for (int i = 0; i < count; ++i)
        steps.push_back(history.Command(i));
    const State& now = m_announced;
    if (steps.empty()) {
        m_steps.clear();
        m_states.assign(1, now);
        m_index = 0;
        return;
    }

    // How many of the oldest steps went, and how far the old and new lists
    // then agree: the values recorded over that stretch still hold.
    const auto oldest = std::find(m_steps.begin(), m_steps.end(), steps.front());
    const bool known = oldest != m_steps.end() || m_index == 0;
    const int dropped = oldest != m_steps.end() ? int(oldest - m_steps.begin()) : 0;
    int agree = 0;
    while (agree < count && dropped + agree < int(m_steps.size()) &&
           steps[std::size_t(agree)] == m_steps[std::size_t(dropped + agree)])
        ++agree;
    std::vector<std::optional<State>> states(steps.size() + 1);
    for (int i = 0; known && i <= agree; ++i)
        states[std::size_t(i)] = std::move(m_states[std::size_t(dropped + i)]);
    const int before = m_index - dropped;
    const bool stepsKept = dropped == 0 && agree == count && count == int(m_steps.size());

    m_steps = std::move(steps);
    m_states = std::move(states);
    m_index = index;
    m_nDropped += dropped;
    if (m_historyMoves) {
        if (!stepsKept)
            Fail(QStringLiteral("an undo or redo changed the steps of the history"));
        Expect(index, now, "after an undo or redo");
    } else if (index == count && index >= before) {
        // A step done, or merged into the newest one: the present is the
        // newest value. (A freed step's address may come back for the new
        // one, which only this position can be.)
        m_states[std::size_t(index)] = now;
    } else {
        // An edit run that ended where it began went, or the clean point
        // moved: the position holds a value recorded before.
        Expect(index, now, "after a step that changed nothing");
    }
}

void CStateTrail::CheckSettled()
{
    if (!IsAlive())
        return;
    const CHistory& history = Doc().GetHistory();
    if (history.Index() != m_index || history.Count() != int(m_steps.size()) ||
        (history.Count() > 0 && history.Command(history.Count() - 1) != m_steps.back()))
        Fail(QStringLiteral("the history changed without telling the document's observers"));
    if (!Holds(m_announced)) {
        const State now = Capture(Doc());
        Fail(QStringLiteral("the template changed without telling its views:\n") +
             TemplateValues::Difference(m_announced.Content(), now.Content()));
        m_announced = now;
    }
    Expect(m_index, m_announced, "between steps");
    // Shown as saved, it must be what was saved: closing would not ask.
    const int clean = history.CleanIndex();
    if (!Doc().IsModified() && clean >= 0 && m_states[std::size_t(clean)]) {
        const State& saved = *m_states[std::size_t(clean)];
        if (!saved.SameContent(m_announced))
            Fail(QStringLiteral("the template shows as unmodified, yet differs from what was saved:\n") +
                 TemplateValues::Difference(saved.Content(), m_announced.Content()));
    }
}

bool CStateTrail::Holds(const State& state) const
{
    const CTilemontDoc& doc = Doc();
    const std::vector<CArea>& areas = doc.GetAreas();
    if (state.picture != (doc.GetPicture() ? std::optional<QImage>(*doc.GetPicture()) : std::nullopt) ||
        areas.size() != state.areas.size() || !(doc.GetSelection().GetPolygon() == *state.selection))
        return false;
    for (std::size_t i = 0; i < areas.size(); ++i)
        if (areas[i].GetId() != state.ids[i] || !(areas[i] == *state.areas[i]))
            return false;
    return true;
}

void CStateTrail::Expect(int index, const State& now, const char* when)
{
    std::optional<State>& recorded = m_states[std::size_t(index)];
    if (!recorded) {
        recorded = now;
        return;
    }
    if (*recorded == now)
        return;
    QString message = QStringLiteral("%1, at position %2 of %3, the template is not the one recorded there")
                          .arg(QLatin1String(when))
                          .arg(index)
                          .arg(m_steps.size());
    message += u'\n' + TemplateValues::Difference(recorded->Content(), now.Content());
    if (recorded->ids != now.ids)
        message += QStringLiteral("\narea identities differ");
    if (!(*recorded->selection == *now.selection))
        message += QStringLiteral("\nselection of %1 contours, not %2")
                       .arg(now.selection->contours.size())
                       .arg(recorded->selection->contours.size());
    Fail(message);
}

void CStateTrail::Fail(const QString& message)
{
    if (m_failure.isEmpty())
        m_failure = Doc().GetTitle() + QStringLiteral(": ") + message;
}

void PrintTo(const CStateTrail::State& state, std::ostream* os)
{
    *os << TemplateValues::Describe(state.Content()).toStdString() << "\n  selection of "
        << state.selection->contours.size() << " contours";
}
