#include <gtest/gtest.h>

#include <algorithm>

#include "core/substitute_host.h"
#include "scene_file/scene_file.h"

namespace {

using substitute::saveScene;

constexpr int32_t legacy = 1234567;  // the plug-in lingering in the example scene

class Undo : public ::testing::Test {
protected:
    Undo() {
        substitute::SceneLoad loaded =
            substitute::loadSceneFile(host.scene, CLEARTRACE_SOURCE_DIR "/example_scenes/legacy_plugins.json");
        document = loaded.document;
        original = saveScene(host.scene, *document);
    }

    // The example scene's elements that the deletion tests remove in the
    // walkers' orders, found through the host's tables as the module finds them.
    struct Walked {
        HostElement* settings;  // the active render settings
        HostElement* firstVideoPost;
        HostElement* secondVideoPost;
        HostElement* studio;   // the first object
        HostElement* hero;     // the studio's second child
        HostElement* emitter;  // the hero's first child
    };
    Walked walked() {
        Walked e{};
        e.settings = t.t_C4DOS_Bd->activeRenderSettings(document);
        e.firstVideoPost = t.t_C4DOS_Br->firstVideoPost(e.settings);
        e.secondVideoPost = t.t_C4DOS_Bl->next(e.firstVideoPost);
        e.studio = t.t_C4DOS_Bd->firstObject(document);
        e.hero = t.t_C4DOS_Bl->next(t.t_C4DOS_Bl->firstChild(e.studio));
        e.emitter = t.t_C4DOS_Bl->firstChild(e.hero);
        return e;
    }

    // What the module does for each instance it removes.
    void removeInstance(HostElement* element) {
        t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, element, nullptr);
        t.t_C4DOS_Bl->unlink(element);
        t.t_C4DOS_Bl->free(element);
    }

    // Every element of the document with this type, children before their
    // holders (so each is still alive when its turn comes).
    std::vector<HostElement*> instances(int32_t type) {
        std::vector<HostElement*> found;
        for (auto* list : {&document->objects, &document->materials, &document->renderSettings}) {
            for (HostElement* top = list->first; top; top = top->next) {
                for (HostElement* e : substitute::subtree(top)) {
                    if (e->type == type) found.push_back(e);
                }
            }
        }
        std::reverse(found.begin(), found.end());
        return found;
    }

    std::string saved() { return saveScene(host.scene, *document); }

    substitute::SubstituteHost host;
    const HostTables& t = *host.tables();
    HostDocument* document = nullptr;
    std::string original;
};

TEST_F(Undo, OneGroupOfDeletionsEverywhereUndoesAndRedoesExactly) {
    std::vector<HostElement*> doomed = instances(legacy);
    ASSERT_EQ(doomed.size(), 17u);  // objects, tags, channel, reflectance, layer and video post shaders

    t.t_C4DOS_Bu->startGroup(document);
    for (HostElement* element : doomed) removeInstance(element);
    t.t_C4DOS_Bu->endGroup(document);
    std::string deleted = saved();
    EXPECT_EQ(deleted.find("1234567"), std::string::npos);
    EXPECT_EQ(host.scene.undoCount(*document), 1u);

    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(saved(), original);
    ASSERT_TRUE(host.scene.redo(*document));
    EXPECT_EQ(saved(), deleted);
    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(saved(), original);
    EXPECT_FALSE(host.scene.undo(*document));
}

TEST_F(Undo, DeletionsInWalkOrderRestoreNeighboursAndNesting) {
    // Parents after their children, adjacent siblings front to back: the
    // orders the walkers use.
    const Walked e = walked();
    HostElement *first = e.firstVideoPost, *a = e.secondVideoPost, *b = t.t_C4DOS_Bl->next(a), *hero = e.hero,
                *emitter = e.emitter;

    t.t_C4DOS_Bu->startGroup(document);
    removeInstance(a);
    removeInstance(b);
    removeInstance(t.t_C4DOS_Bl->firstChild(emitter));
    removeInstance(emitter);
    removeInstance(hero);  // with its tags and its remaining child
    removeInstance(first);
    t.t_C4DOS_Bu->endGroup(document);
    std::string deleted = saved();

    ASSERT_TRUE(host.scene.undo(*document));
    EXPECT_EQ(saved(), original);
    ASSERT_TRUE(host.scene.redo(*document));
    EXPECT_EQ(saved(), deleted);
}

TEST_F(Undo, LayerLinksResolveToTheRestoredShaders) {
    HostElement* hero = t.t_C4DOS_Bl->next(t.t_C4DOS_Bd->firstMaterial(document));
    HostArray* reflectance = t.t_C4DOS_At->create();
    t.t_C4DOS_Mt->reflectanceShaders(hero, reflectance);
    HostElement* layerShader = t.t_C4DOS_At->entry(reflectance, 0);
    t.t_C4DOS_At->free(reflectance);
    auto* library = static_cast<const HostLayerShaderLibrary*>(t.t_C4DOS_Lr->find(HOST_LIBRARY_LAYER_SHADER));
    HostLayer* second = library->nextLayer(library->firstLayer(layerShader));
    HostValue* value = t.t_C4DOS_Gv->create();

    auto linked = [&]() -> HostElement* {
        if (!library->getParameter(second, HOST_LAYER_PARAMETER_LINK, value) ||
            t.t_C4DOS_Gv->type(value) != HOST_DATA_TYPE_LINK) {
            return nullptr;
        }
        return t.t_C4DOS_Ln->resolve(t.t_C4DOS_Gv->link(value), t.t_C4DOS_Bl->document(layerShader));
    };
    HostElement* shader = linked();
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(t.t_C4DOS_Ba->typeId(shader), legacy);

    t.t_C4DOS_Bu->startGroup(document);
    removeInstance(shader);
    t.t_C4DOS_Bu->endGroup(document);
    EXPECT_EQ(linked(), nullptr);
    host.scene.undo(*document);
    HostElement* restored = linked();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(t.t_C4DOS_Ba->typeId(restored), legacy);
    EXPECT_EQ(t.t_C4DOS_Sh->owner(restored), layerShader);
    t.t_C4DOS_Gv->free(value);
}

TEST_F(Undo, AGroupThatRecordedNothingLeavesNoEntryAndKeepsRedo) {
    t.t_C4DOS_Bu->startGroup(document);
    removeInstance(t.t_C4DOS_Bd->firstObject(document));
    t.t_C4DOS_Bu->endGroup(document);
    host.scene.undo(*document);

    t.t_C4DOS_Bu->startGroup(document);
    t.t_C4DOS_Bu->endGroup(document);
    EXPECT_EQ(host.scene.undoCount(*document), 0u);
    EXPECT_EQ(host.scene.redoCount(*document), 1u);

    t.t_C4DOS_Bu->startGroup(document);
    removeInstance(t.t_C4DOS_Bd->firstMaterial(document));
    t.t_C4DOS_Bu->endGroup(document);
    EXPECT_EQ(host.scene.undoCount(*document), 1u);
    EXPECT_EQ(host.scene.redoCount(*document), 0u) << "a new change ends what could be redone";
}

// What a module does when a later step is refused: the group is cancelled,
// and everything it unlinked (in the walkers' orders, one element freed
// against the rules) is back where it was, with no entry and redo kept.
TEST_F(Undo, ACancelledGroupPutsBackWhatItRecordedAndLeavesNoEntry) {
    t.t_C4DOS_Bu->startGroup(document);
    removeInstance(t.t_C4DOS_Bd->firstMaterial(document));
    t.t_C4DOS_Bu->endGroup(document);
    ASSERT_TRUE(host.scene.undo(*document));

    const Walked e = walked();
    HostElement *settings = e.settings, *first = e.firstVideoPost, *second = e.secondVideoPost, *studio = e.studio,
                *hero = e.hero, *emitter = e.emitter;
    ASSERT_TRUE(t.t_C4DOS_Bu->startGroup(document));
    for (HostElement* element : {first, second, t.t_C4DOS_Bl->firstChild(emitter), emitter, hero}) {
        ASSERT_TRUE(t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, element, nullptr));
        t.t_C4DOS_Bl->unlink(element);
    }
    t.t_C4DOS_Bl->free(second);
    host.services.failUndo(2);
    EXPECT_TRUE(t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, studio, nullptr));
    EXPECT_FALSE(t.t_C4DOS_Bu->endGroup(document)) << "refused: the group stays open";
    t.t_C4DOS_Bu->cancelGroup(document);
    EXPECT_EQ(saved(), original);
    EXPECT_EQ(t.t_C4DOS_Br->firstVideoPost(settings), first) << "the elements themselves go back, not copies";
    EXPECT_EQ(t.t_C4DOS_Bl->next(t.t_C4DOS_Bl->firstChild(studio)), hero);
    EXPECT_EQ(host.scene.undoCount(*document), 0u);
    EXPECT_EQ(host.scene.redoCount(*document), 1u);
}

// A refused request answers false and records nothing; the group goes on.
TEST_F(Undo, ARefusedRequestRecordsNothing) {
    host.services.failUndo(1);
    EXPECT_FALSE(t.t_C4DOS_Bu->startGroup(document));
    host.services.failUndo(2);
    ASSERT_TRUE(t.t_C4DOS_Bu->startGroup(document));
    HostElement* material = t.t_C4DOS_Bd->firstMaterial(document);
    EXPECT_FALSE(t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, material, nullptr));
    EXPECT_TRUE(t.t_C4DOS_Bu->endGroup(document));
    EXPECT_EQ(host.scene.undoCount(*document), 0u) << "the refused step left the group empty";
    EXPECT_EQ(host.services.undoRequests(), 4);
}

TEST_F(Undo, MisuseOfGroupsStopsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, t.t_C4DOS_Bd->firstObject(document), nullptr),
                 "Bu.addStep: no undo group is open");
    EXPECT_DEATH(t.t_C4DOS_Bu->endGroup(document), "Bu.endGroup: no undo group is open");
    EXPECT_DEATH(t.t_C4DOS_Bu->cancelGroup(document), "Bu.cancelGroup: no undo group is open");
    EXPECT_DEATH(
        {
            t.t_C4DOS_Bu->startGroup(document);
            t.t_C4DOS_Bu->startGroup(document);
        },
        "groups do not nest");
    EXPECT_DEATH(
        {
            t.t_C4DOS_Bu->startGroup(document);
            t.t_C4DOS_Bu->addStep(document, 40, t.t_C4DOS_Bd->firstObject(document), nullptr);
        },
        "undo step kind 40 is not known");
    HostDocument* other = host.scene.newDocument();
    EXPECT_DEATH(
        {
            t.t_C4DOS_Bu->startGroup(other);
            t.t_C4DOS_Bu->addStep(other, HOST_UNDO_DELETE, t.t_C4DOS_Bd->firstObject(document), nullptr);
        },
        "is not in this document");
}

// What a removal that keeps children does: a Null made at the place of the
// hero (after it), its children and tags moved into the Null, the hero
// deleted. Undo, redo and cancelling each give back the scene exactly.
class KeepingUndo : public Undo {
protected:
    // Records and makes the changes in the open group; the Null, or null
    // when a step was refused (then nothing more is done).
    HostElement* replaceHero() {
        const Walked e = walked();
        HostElement* null = t.t_C4DOS_Bo->createObject(HOST_TYPE_NULL_OBJECT, e.hero);
        if (null == nullptr) return nullptr;
        t.t_C4DOS_Bo->insertObject(document, null, e.studio, e.hero);
        if (!t.t_C4DOS_Bu->addStep(document, HOST_UNDO_NEW, null, nullptr)) {
            t.t_C4DOS_Bl->unlink(null);
            t.t_C4DOS_Bl->free(null);
            return nullptr;
        }
        HostElement* previous = nullptr;
        while (HostElement* child = t.t_C4DOS_Bl->firstChild(e.hero)) {
            if (!t.t_C4DOS_Bu->addStep(document, HOST_UNDO_MOVE, child, nullptr)) return nullptr;
            t.t_C4DOS_Bl->unlink(child);
            t.t_C4DOS_Bo->insertObject(document, child, null, previous);
            previous = child;
        }
        previous = nullptr;
        while (HostElement* tag = t.t_C4DOS_Bo->firstTag(e.hero)) {
            if (!t.t_C4DOS_Bu->addStep(document, HOST_UNDO_MOVE, tag, nullptr)) return nullptr;
            t.t_C4DOS_Bl->unlink(tag);
            t.t_C4DOS_Bo->insertTag(null, tag, previous);
            previous = tag;
        }
        if (!t.t_C4DOS_Bu->addStep(document, HOST_UNDO_DELETE, e.hero, nullptr)) return nullptr;
        t.t_C4DOS_Bl->unlink(e.hero);
        return null;
    }
};

TEST_F(KeepingUndo, ANullHoldingTheMovedChildrenUndoesAndRedoesExactly) {
    HostElement* hero = walked().hero;
    ASSERT_TRUE(t.t_C4DOS_Bu->startGroup(document));
    HostElement* null = replaceHero();
    ASSERT_NE(null, nullptr);
    ASSERT_TRUE(t.t_C4DOS_Bu->endGroup(document));
    t.t_C4DOS_Bl->free(hero);
    const std::string after = saved();
    // The Null took the hero's place, name, selection, children and tags.
    EXPECT_EQ(walked().hero, null);
    EXPECT_EQ(null->name, "Hero Cube");
    EXPECT_EQ(null->type, HOST_TYPE_NULL_OBJECT);
    EXPECT_TRUE(null->selected);
    EXPECT_EQ(t.t_C4DOS_Bl->firstChild(null)->name, "Glow Emitter");
    EXPECT_EQ(t.t_C4DOS_Bo->firstTag(null)->name, "Texture");
    std::string expected = original;
    const std::string heroLine = R"({"name": "Hero Cube", "type": 5159,)";
    expected.replace(expected.find(heroLine), heroLine.size(), R"({"name": "Hero Cube", "type": 5140,)");
    EXPECT_EQ(after, expected);
    EXPECT_EQ(host.scene.moduleObjects(), 0);

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), original);
        ASSERT_TRUE(host.scene.redo(*document));
        EXPECT_EQ(saved(), after);
    }
}

TEST_F(KeepingUndo, ACancelledGroupTakesOutTheNullAndMovesEverythingBack) {
    const Walked e = walked();
    HostElement* emitter = e.emitter;
    // Every request of the run refused in turn: the Null's step, the moves of
    // two children and three tags, the deletion and the end.
    for (int64_t k = 2; k <= 9; ++k) {
        SCOPED_TRACE(k);
        host.services.failUndo(k);
        ASSERT_TRUE(t.t_C4DOS_Bu->startGroup(document));
        if (replaceHero() != nullptr && t.t_C4DOS_Bu->endGroup(document)) ADD_FAILURE() << "nothing was refused";
        EXPECT_FALSE(host.services.undoFailurePending());
        t.t_C4DOS_Bu->cancelGroup(document);
        EXPECT_EQ(saved(), original);
        EXPECT_EQ(host.scene.moduleObjects(), 0);
        EXPECT_EQ(t.t_C4DOS_Bl->firstChild(walked().hero), emitter) << "the children themselves go back";
        host.services.failUndo(0);
    }
    // A refused Null is never made.
    host.services.failObjectCreation(1);
    EXPECT_EQ(t.t_C4DOS_Bo->createObject(HOST_TYPE_NULL_OBJECT, e.hero), nullptr);
}

TEST_F(KeepingUndo, MisplacedObjectsAndTagsStopTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Walked e = walked();
    EXPECT_DEATH(t.t_C4DOS_Bo->insertObject(document, e.emitter, e.studio, nullptr), "Bo.insertObject: object");
    EXPECT_DEATH(t.t_C4DOS_Bo->insertObject(document, t.t_C4DOS_Bo->createObject(5140, e.hero), e.studio, e.emitter),
                 "the previous object is not a child of that parent");
    EXPECT_DEATH(t.t_C4DOS_Bo->insertTag(e.studio, t.t_C4DOS_Bo->firstTag(e.hero), nullptr), "is still linked");
    EXPECT_DEATH(
        {
            HostElement* tag = t.t_C4DOS_Bo->firstTag(e.hero);
            t.t_C4DOS_Bl->unlink(tag);
            t.t_C4DOS_Bo->insertTag(e.studio, tag, t.t_C4DOS_Bo->firstTag(e.hero));
        },
        "the previous tag is not a tag of that object");
    EXPECT_DEATH(
        {
            HostElement* null = t.t_C4DOS_Bo->createObject(5140, e.hero);
            t.t_C4DOS_Bu->startGroup(document);
            t.t_C4DOS_Bu->addStep(document, HOST_UNDO_NEW, null, nullptr);
        },
        "is not in this document");
    EXPECT_DEATH(
        {
            t.t_C4DOS_Bu->startGroup(document);
            t.t_C4DOS_Bu->addStep(document, HOST_UNDO_MOVE, e.emitter, nullptr);
            t.t_C4DOS_Bl->unlink(e.emitter);
            t.t_C4DOS_Bu->endGroup(document);
        },
        "recorded as moved was not put anywhere");
}

}  // namespace
